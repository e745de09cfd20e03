// SPDX-License-Identifier: GPL-2.0-or-later
// How the corrected frames are handed to the encoder and in what pixel format
// and colour the output is written.
#pragma once

#include <string>
#include <vector>

#include "input/media_info.h"

namespace kelvra::cli {

struct OutputFormat {
    std::string pipe_format;    // "bgra" keeps the alpha channel, "bgr0" has none; or `pix_fmt`
    std::string pix_fmt;        // forced encoder format; empty: ffmpeg picks the closest to the pipe's
    bool yuv = false;           // the output is YUV: convert with and tag the matrix and range
    bool yuv_pipe = false;      // kelvra converts to `pix_fmt` itself and pipes that
    bool single_image = false;  // an image file: written with the image muxer, one picture
    bool drops_alpha = false;   // the input has an alpha channel that the output cannot keep
    std::vector<std::string> warnings;
};

// `codec` is --codec (empty: ffmpeg's default for the output's extension);
// `user_pix_fmt` a -pix_fmt from the passed-through ffmpeg options;
// `user_filters`: those options filter the video, which then gets the RGB
// frames it got before.
OutputFormat choose_output_format(const MediaInfo& input, const std::string& output_path,
                                  const std::string& codec, const std::string& user_pix_fmt,
                                  bool user_filters = false);

bool is_rgb_pix_fmt(const std::string& pix_fmt);
bool has_alpha(const std::string& pix_fmt);

// Lower-case extension without the dot ("" when none).
std::string extension_of(const std::string& path);

}  // namespace kelvra::cli
