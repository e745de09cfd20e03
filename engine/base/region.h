// SPDX-License-Identifier: GPL-2.0-or-later
// The analysis region and the pixel count the histogram is given.
#pragma once

#include <cstdint>

#include "base/filter_data.h"

namespace kelvra {

struct Region {
    // Inclusive bounds clipped to the frame; empty when x0 > x1 or y0 > y1.
    int32_t x0, x1, y0, y1;
    // Pixel count handed to the histogram: one row and one column more than a
    // bordered region holds, in wrapping int32 arithmetic.
    int32_t count;

    bool empty() const { return x0 > x1 || y0 > y1; }
};

// Rows ndown-1 .. h-nup-1 and columns nleft-1 .. w-nright-1 when the border
// is set, else the whole frame. Offsets from a script line can be anything;
// only the part inside the frame is ever visited.
Region analysis_region(const Settings& settings, int32_t width, int32_t height);

}  // namespace kelvra
