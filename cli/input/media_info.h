// SPDX-License-Identifier: GPL-2.0-or-later
// What kelvra needs to know about an input, as ffprobe reports it.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "colour/colour_tags.h"

namespace kelvra::cli {

// Frames up to this many pixels: four times the count must fit the
// histogram's int32 arithmetic, with room to spare.
constexpr int64_t kMaxPixels = int64_t{1} << 28;

struct Rational {
    int64_t num = 0, den = 0;
    bool valid() const { return num > 0 && den > 0; }
    std::string text() const { return std::to_string(num) + "/" + std::to_string(den); }
};

// Metadata as a demuxer holds it: keys and values, in its order.
using Tags = std::vector<std::pair<std::string, std::string>>;

struct MediaInfo {
    std::string format_name;
    int stream_count = 0;
    int video_index = -1;           // absolute index of the stream kelvra corrects; -1: none
    int32_t width = 0, height = 0;  // as decoded, after rotation
    int64_t rotation = 0;           // degrees the display matrix turns the picture
    std::string pix_fmt;
    Rational frame_rate;  // r_frame_rate
    Rational average_rate;
    std::string sample_aspect_ratio;  // "N:D", empty when unknown
    std::string field_order;          // "progressive", "tt", "bb", "tb", "bt" or empty
    ColourTags colour;
    std::optional<int64_t> frame_count;
    double file_start = 0;  // the file's first timestamp, seconds
    // The corrected stream's first timestamp less the file's, in seconds.
    double video_delay = 0;
    bool image_format = false;  // an image demuxer (png_pipe, image2, gif, ...)
    // What ffmpeg copies from the file besides its streams, when known.
    bool tags_known = false;
    Tags file_tags, video_tags;
    int chapters = 0;
};

}  // namespace kelvra::cli
