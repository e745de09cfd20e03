// SPDX-License-Identifier: GPL-2.0-or-later
// The argument vectors of the two ffmpeg processes around the frame loop: the
// decoder that turns the input's corrected stream into raw BGRA frames with
// the input's own colour matrix and range, and the encoder that writes those
// frames with the input's frame rate, aspect, field order and colour tags and
// copies every other stream unchanged.
#pragma once

#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "input/media_info.h"
#include "output/output_format.h"

namespace kelvra::cli {

// The rate frames are timed at. A stream whose nominal rate differs from its
// average (variable rate, or field rate) is made constant at the average by
// the decoder repeating or dropping frames, which keeps audio in sync.
struct Timing {
    Rational rate;
    bool resample = false;
};
Timing choose_timing(const MediaInfo& input);

// "bgra", or the input's own 8-bit planar YUV, which kelvra converts itself;
// deep inputs get the deep pipe format instead.
std::string decoder_pipe_format(const MediaInfo& input);

// `pipe_format`: the raw frames' format.
std::vector<std::string> decoder_args(const std::string& ffmpeg, const MediaInfo& input, const Timing& timing,
                                      const std::string& input_path, bool single_frame,
                                      const std::string& pipe_format);

struct EncodeRequest {
    std::string input_path;  // for the streams and metadata copied from it
    std::string temp_path;
    std::string codec;
    std::optional<int> crf;
    std::vector<std::string> passthrough;
    bool copy_streams = true;
};

std::vector<std::string> encoder_args(const std::string& ffmpeg, const MediaInfo& input, const Timing& timing,
                                      const OutputFormat& format, const EncodeRequest& request);

// The value of a -pix_fmt among passed-through options, or empty.
std::string passthrough_pix_fmt(const std::vector<std::string>& passthrough);

// Whether passed-through options filter or resize the video.
bool passthrough_filters(const std::vector<std::string>& passthrough);

// The matrix (ffprobe's name, may be empty) and range ("tv" or "pc") the
// corrected RGB becomes YUV with: the input's own, so the output shows as
// the input did. RGB input gets BT.709, limited range.
std::pair<std::string, std::string> output_matrix_and_range(const MediaInfo& input);

}  // namespace kelvra::cli
