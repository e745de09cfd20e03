// SPDX-License-Identifier: GPL-2.0-or-later
// The compare picture: one frame before and after the correction side by
// side, each as the input and the output have it (so the histograms only
// with --histogram).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace kelvra::cli {

// A (2 x width) x height top-down picture: `before` on the left, `after` on
// the right.
std::vector<uint32_t> compose_compare(const std::vector<uint32_t>& before, const std::vector<uint32_t>& after,
                                      int32_t width, int32_t height);

// Writes a top-down picture as a PNG file through ffmpeg.
bool write_png(const std::string& ffmpeg, const std::vector<uint32_t>& pixels, int32_t width, int32_t height,
               const std::string& path, std::string& error);

}  // namespace kelvra::cli
