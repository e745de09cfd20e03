// SPDX-License-Identifier: GPL-2.0-or-later
#include "levels/config_line.h"

#include <cctype>
#include <charconv>
#include <vector>

namespace kelvra::cli {
namespace {

constexpr std::string_view kSavedPrefix = "VirtualDub.video.filters.instance[";

bool is_blank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

std::string_view trim(std::string_view s) {
    while (!s.empty() && is_blank(s.front())) s.remove_prefix(1);
    while (!s.empty() && is_blank(s.back())) s.remove_suffix(1);
    return s;
}

// Drops "VirtualDub.video.filters.instance[N]." when present.
std::string_view strip_saved_prefix(std::string_view s) {
    if (s.substr(0, kSavedPrefix.size()) != kSavedPrefix) return s;
    std::string_view rest = s.substr(kSavedPrefix.size());
    size_t digits = 0;
    while (digits < rest.size() && std::isdigit(static_cast<unsigned char>(rest[digits]))) ++digits;
    if (digits == 0 || rest.substr(digits, 2) != "].") return s;
    return rest.substr(digits + 2);
}

std::vector<std::string_view> split_commas(std::string_view s) {
    std::vector<std::string_view> parts;
    if (trim(s).empty()) return parts;
    size_t start = 0;
    for (size_t i = 0; i <= s.size(); ++i) {
        if (i == s.size() || s[i] == ',') {
            parts.push_back(trim(s.substr(start, i - start)));
            start = i + 1;
        }
    }
    return parts;
}

}  // namespace

std::optional<int32_t> parse_int32(std::string_view text) {
    if (text.empty() || text.front() == '+') return std::nullopt;
    int32_t value = 0;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (ec != std::errc() || end != text.data() + text.size()) return std::nullopt;
    return value;
}

std::optional<ConfigValues> parse_config_line(std::string_view line, std::string& error) {
    std::string_view s = trim(line);
    if (!s.empty() && s.back() == ';') s = trim(s.substr(0, s.size() - 1));
    s = strip_saved_prefix(s);

    const size_t open = s.find('(');
    const std::string_view name = trim(s.substr(0, open));
    if (open == std::string_view::npos || s.back() != ')') {
        error =
            "expected Config(level,soft,border,nup,nleft,nright,ndown), got \"" + std::string(line) + "\"";
        return std::nullopt;
    }
    if (name != "Config") {
        error = "the method is called Config, not \"" + std::string(name) + "\"";
        return std::nullopt;
    }
    const std::vector<std::string_view> parts = split_commas(s.substr(open + 1, s.size() - open - 2));
    if (parts.size() != 7) {
        error = "Config takes 7 values (level,soft,border,nup,nleft,nright,ndown), got " +
                std::to_string(parts.size());
        return std::nullopt;
    }
    int32_t values[7];
    for (size_t i = 0; i < parts.size(); ++i) {
        const std::optional<int32_t> v = parse_int32(parts[i]);
        if (!v) {
            error = "Config value " + std::to_string(i + 1) + " (\"" + std::string(parts[i]) +
                    "\") is not a 32-bit integer";
            return std::nullopt;
        }
        values[i] = *v;
    }
    return ConfigValues{values[0], values[1], values[2], values[3], values[4], values[5], values[6]};
}

}  // namespace kelvra::cli
