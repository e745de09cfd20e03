// The compare picture: one frame before and after the correction side by
// side, the corrected half carrying its three histograms as the overlay draws
// them.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace kelvra::cli {

// A (2 x width) x height top-down picture: `before` on the left, `after` on
// the right. `draw_histograms` is false when `after` already has them.
std::vector<uint32_t> compose_compare(const std::vector<uint32_t>& before, const std::vector<uint32_t>& after,
                                      int32_t width, int32_t height, bool draw_histograms);

// Writes a top-down picture as a PNG file through ffmpeg.
bool write_png(const std::string& ffmpeg, const std::vector<uint32_t>& pixels, int32_t width, int32_t height,
               const std::string& path, std::string& error);

}  // namespace kelvra::cli
