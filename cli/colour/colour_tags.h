// SPDX-License-Identifier: GPL-2.0-or-later
// What a picture's YUV samples mean, as the input's tags say it: the one
// colour description that the decoding side, the conversions and the
// encoder's arguments all read, so it sits below each of them.
#pragma once

#include <string>

namespace kelvra::cli {

// ffprobe's names; empty when the input does not say.
struct ColourTags {
    std::string matrix, range, primaries, transfer;
};

// A matrix of ffprobe's as the scale filter names it; empty when unknown.
std::string swscale_matrix(const std::string& ffprobe_matrix);

}  // namespace kelvra::cli
