// SPDX-License-Identifier: GPL-2.0-or-later
// Inputs deeper than 8 bits per channel: the pipe carries 16-bit planar RGB
// both ways, and the output gets the deepest format its encoder takes, up to
// the input's depth. Where bits are dropped a warning says how many are kept
// and how to keep more.
#pragma once

#include <string>

#include "input/media_info.h"
#include "output/output_format.h"

namespace kelvra::cli {

// The deepest component of a pixel format as ffmpeg names it; 0 when the
// name is unknown.
int bits_per_channel(const std::string& pix_fmt);

bool is_deep_input(const MediaInfo& input);

// Turns the format chosen for an 8-bit pipe into the deep one. A -pix_fmt of
// the user's still decides the output's format.
void adapt_to_deep_input(OutputFormat& format, const MediaInfo& input, const std::string& output_path,
                         const std::string& codec, const std::string& user_pix_fmt);

}  // namespace kelvra::cli
