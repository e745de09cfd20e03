// SPDX-License-Identifier: GPL-2.0-or-later
// The values options take, each checked against its rule; nothing for a
// value that breaks it.
#pragma once

#include <cstdint>
#include <optional>
#include <set>
#include <string>
#include <utility>

#include "levels/settings.h"

namespace kelvra::cli {

// Frame numbers count from 1.
std::optional<int64_t> parse_frame_number(const std::string& text);
// Comma-separated frame numbers.
std::optional<std::set<int64_t>> parse_frame_list(const std::string& text);
std::optional<int> parse_sensitivity(const std::string& text);
std::optional<int> parse_crf(const std::string& text);
// Files corrected at once, 1..64.
std::optional<int> parse_job_count(const std::string& text);
// A file name's extension, without the dot: letters and digits.
std::optional<std::string> parse_extension(const std::string& text);
std::optional<BorderOffsets> parse_border(const std::string& text);
// WIDTHxHEIGHT, at most kMaxPixels.
std::optional<std::pair<int32_t, int32_t>> parse_size(const std::string& text);

}  // namespace kelvra::cli
