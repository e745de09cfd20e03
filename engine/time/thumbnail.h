// SPDX-License-Identifier: GPL-2.0-or-later
// A frame seen from afar: the mean colour of each cell of an 8 x 8 grid.
// Inside a shot it changes a little with motion, noise and light; a cut
// changes where things are, also when the tones on both sides are alike.
#pragma once

#include <cstdint>

namespace kelvra {

constexpr int kThumbnailCells = 8;  // across and down

struct Thumbnail {
    float mean[kThumbnailCells][kThumbnailCells][3];  // row, column, B G R; 0..255
};

// The thumbnail of a top-down BGRA frame. Frames of more than 2^17 pixels
// are sampled on a lattice of every step-th pixel of every step-th row, the
// least step that keeps the samples at most that many (every pixel of
// 320x240, every 4th of every 4th row of 1920x1080): still thousands a cell,
// and a cost that does not grow with the frame.
void make_thumbnail(const uint32_t* pixels, int32_t width, int32_t height, Thumbnail& out);

// The mean absolute difference of two thumbnails' values, 0..255.
double thumbnail_distance(const Thumbnail& a, const Thumbnail& b);

}  // namespace kelvra
