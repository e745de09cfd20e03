// ffprobe's report on an input, and what kelvra reads from it.
#pragma once

#include <string>
#include <vector>

#include "media_info.h"

namespace kelvra::cli {

// ffprobe's arguments for the report that parse_probe_report reads;
// `count_packets` makes it count the corrected stream's frames by demuxing.
std::vector<std::string> probe_args(const std::string& ffprobe, const std::string& input_path,
                                    bool count_packets);

// ffprobe's arguments that print the time of the stream's first decoded
// frame, which can differ from the stream's start time in the header.
std::vector<std::string> first_frame_time_args(const std::string& ffprobe, const std::string& input_path,
                                               int stream_index);

// Reads ffprobe's default-format report. The first video stream that is not
// attached cover art is the one corrected.
MediaInfo parse_probe_report(const std::string& report);

Rational parse_rational(const std::string& text);

}  // namespace kelvra::cli
