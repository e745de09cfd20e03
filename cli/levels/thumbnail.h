// A frame seen from afar: the mean colour of each cell of an 8 x 8 grid.
// Inside a shot it changes a little with motion, noise and light; a cut
// changes where things are, also when the tones on both sides are alike.
#pragma once

#include <cstdint>

namespace kelvra::cli {

constexpr int kThumbnailCells = 8;  // across and down

struct Thumbnail {
    float mean[kThumbnailCells][kThumbnailCells][3];  // row, column, B G R; 0..255
};

// The thumbnail of a top-down BGRA frame. Large frames are sampled on a
// lattice of every step-th pixel of every step-th row, with at least 256
// steps across the shorter side, which keeps the means to a fraction of a
// value and the cost small against the frame pass.
void make_thumbnail(const uint32_t* pixels, int32_t width, int32_t height, Thumbnail& out);

// The mean absolute difference of two thumbnails' values, 0..255.
double thumbnail_distance(const Thumbnail& a, const Thumbnail& b);

}  // namespace kelvra::cli
