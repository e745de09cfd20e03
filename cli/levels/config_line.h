// SPDX-License-Identifier: GPL-2.0-or-later
// The plug-in's script line, "Config(level,soft,border,nup,nleft,nright,ndown)",
// alone or as a whole saved line such as
// "VirtualDub.video.filters.instance[0].Config(25,1,1,20,30,30,20);".
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace kelvra::cli {

// The seven values in the line's order. The plug-in stores them as they come,
// without range checks, so any int32 is taken.
struct ConfigValues {
    int32_t level, soft, border, nup, nleft, nright, ndown;
};

// Parses one line; on failure returns nothing and says why in `error`.
std::optional<ConfigValues> parse_config_line(std::string_view line, std::string& error);

// Strict decimal int32: optional minus sign, digits only.
std::optional<int32_t> parse_int32(std::string_view text);

}  // namespace kelvra::cli
