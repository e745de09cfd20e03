// SPDX-License-Identifier: GPL-2.0-or-later
#include "balance/balance_sample.h"

namespace kelvra {

void BalanceSample::take(const Frame& src, const Region& region) {
    count_ = 0;
    if (region.empty()) return;
    const int64_t width = int64_t{region.x1} - region.x0 + 1;
    const int64_t height = int64_t{region.y1} - region.y0 + 1;
    int64_t step = 1;
    while (((width + step - 1) / step) * ((height + step - 1) / step) > kCapacity) ++step;
    columns_ = static_cast<int32_t>((width + step - 1) / step);
    for (int64_t y = region.y0; y <= region.y1; y += step) {
        const uint32_t* row = src.row(static_cast<int32_t>(y));
        for (int64_t x = region.x0; x <= region.x1; x += step) pixels_[count_++] = row[x] & 0x00FFFFFFu;
    }
}

}  // namespace kelvra
