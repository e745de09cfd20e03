// SPDX-License-Identifier: GPL-2.0-or-later
#include "base/region.h"

#include <algorithm>

#include "base/x86_arith.h"

namespace kelvra {
namespace {

int32_t clamp_to(int64_t v, int32_t lo, int32_t hi) {
    return static_cast<int32_t>(std::clamp<int64_t>(v, lo, hi));
}

}  // namespace

Region analysis_region(const Settings& settings, int32_t width, int32_t height) {
    if (!settings.border) return Region{0, width - 1, 0, height - 1, wrap_mul(width, height)};

    // Bounds in 64 bits, clipped one past the frame on each side so an empty
    // region stays empty.
    const int64_t x0 = int64_t{settings.nleft} - 1;
    const int64_t x1 = int64_t{width} - settings.nright - 1;
    const int64_t y0 = int64_t{settings.ndown} - 1;
    const int64_t y1 = int64_t{height} - settings.nup - 1;
    const int32_t rows = wrap_sub(wrap_sub(wrap_add(height, 2), settings.nup), settings.ndown);
    const int32_t cols = wrap_sub(wrap_sub(wrap_add(width, 2), settings.nleft), settings.nright);
    return Region{clamp_to(x0, 0, width), clamp_to(x1, -1, width - 1), clamp_to(y0, 0, height),
                  clamp_to(y1, -1, height - 1), wrap_mul(rows, cols)};
}

}  // namespace kelvra
