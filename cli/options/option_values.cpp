// SPDX-License-Identifier: GPL-2.0-or-later
#include "options/option_values.h"

#include <algorithm>
#include <cctype>

#include "input/media_info.h"
#include "levels/config_line.h"

namespace kelvra::cli {

std::optional<int64_t> parse_frame_number(const std::string& text) {
    const std::optional<int32_t> v = parse_int32(text);
    if (!v || *v < 1) return std::nullopt;
    return *v;
}

std::optional<std::set<int64_t>> parse_frame_list(const std::string& text) {
    std::set<int64_t> frames;
    size_t start = 0;
    for (;;) {
        const size_t comma = text.find(',', start);
        const std::optional<int64_t> n = parse_frame_number(text.substr(start, comma - start));
        if (!n) return std::nullopt;
        frames.insert(*n);
        if (comma == std::string::npos) return frames;
        start = comma + 1;
    }
}

namespace {

std::optional<int> parse_in_range(const std::string& text, int lowest, int highest) {
    const std::optional<int32_t> v = parse_int32(text);
    if (!v || *v < lowest || *v > highest) return std::nullopt;
    return *v;
}

}  // namespace

std::optional<int> parse_sensitivity(const std::string& text) { return parse_in_range(text, 0, 100); }

std::optional<int> parse_crf(const std::string& text) { return parse_in_range(text, 0, 63); }

std::optional<int> parse_job_count(const std::string& text) { return parse_in_range(text, 1, 64); }

std::optional<std::string> parse_extension(const std::string& text) {
    const std::string ext = text.rfind('.', 0) == 0 ? text.substr(1) : text;
    if (ext.empty() || !std::all_of(ext.begin(), ext.end(), [](unsigned char c) { return std::isalnum(c); }))
        return std::nullopt;
    return ext;
}

std::optional<BorderOffsets> parse_border(const std::string& text) {
    int32_t v[4];
    size_t start = 0;
    for (int i = 0; i < 4; ++i) {
        const size_t comma = text.find(',', start);
        if ((i < 3) == (comma == std::string::npos)) return std::nullopt;
        const std::optional<int32_t> n = parse_int32(text.substr(start, comma - start));
        if (!n) return std::nullopt;
        v[i] = *n;
        start = comma + 1;
    }
    return BorderOffsets{v[0], v[1], v[2], v[3]};
}

std::optional<std::pair<int32_t, int32_t>> parse_size(const std::string& text) {
    const size_t x = text.find('x');
    if (x == std::string::npos) return std::nullopt;
    const std::optional<int32_t> w = parse_int32(text.substr(0, x)), h = parse_int32(text.substr(x + 1));
    if (!w || !h || *w < 1 || *h < 1 || int64_t{*w} * *h > kMaxPixels) return std::nullopt;
    return std::make_pair(*w, *h);
}

}  // namespace kelvra::cli
