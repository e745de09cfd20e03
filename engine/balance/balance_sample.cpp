// SPDX-License-Identifier: GPL-2.0-or-later
#include "balance/balance_sample.h"

namespace kelvra {

SampleGrid sample_grid(const Region& region) {
    if (region.empty()) return SampleGrid{};
    const int64_t width = int64_t{region.x1} - region.x0 + 1;
    const int64_t height = int64_t{region.y1} - region.y0 + 1;
    int64_t step = 1;
    while (((width + step - 1) / step) * ((height + step - 1) / step) > BalanceSample::kCapacity) ++step;
    return SampleGrid{region.x0, region.y0, static_cast<int32_t>(step),
                      static_cast<int32_t>((width + step - 1) / step),
                      static_cast<int32_t>((height + step - 1) / step)};
}

void BalanceSample::take(const Frame& src, const Region& region) {
    const SampleGrid grid = sample_grid(region);
    count_ = 0;
    if (grid.columns == 0) return;
    columns_ = grid.columns;
    for (int32_t j = 0; j < grid.rows; ++j) {
        const uint32_t* row = src.row(grid.y0 + j * grid.step);
        for (int32_t i = 0; i < grid.columns; ++i)
            pixels_[count_++] = row[grid.x0 + i * grid.step] & 0x00FFFFFFu;
    }
}

}  // namespace kelvra
