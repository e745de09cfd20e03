// SPDX-License-Identifier: GPL-2.0-or-later
// ffprobe's report on an input, and what kelvra reads from it.
#pragma once

#include <string>
#include <vector>

#include "input/media_info.h"

namespace kelvra::cli {

// ffprobe's arguments for the report that parse_probe_report reads;
// `count_packets` makes it count the corrected stream's frames by demuxing.
std::vector<std::string> probe_args(const std::string& ffprobe, const std::string& input_path,
                                    bool count_packets);

// Reads ffprobe's default-format report. The first video stream that is not
// attached cover art is the one corrected.
MediaInfo parse_probe_report(const std::string& report);

Rational parse_rational(const std::string& text);

}  // namespace kelvra::cli
