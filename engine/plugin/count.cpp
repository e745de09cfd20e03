// SPDX-License-Identifier: GPL-2.0-or-later
#include "plugin/count.h"

#include <cstring>

#include "plugin/split_counter.h"

namespace kelvra {

void count_source(const Frame& src, const Region& region, gisto& hist, ChannelCounts* whole) {
    SplitCounter inside, outside;
    for (int32_t y = 0; y < src.height; ++y) {
        const bool region_row = !region.empty() && y >= region.y0 && y <= region.y1;
        if (!region_row && !whole) continue;
        const uint32_t* row = src.row(y);
        if (!region_row) {
            outside.add_row(row, src.width);
            continue;
        }
        if (whole) outside.add_row(row, region.x0);
        inside.add_row(row + region.x0, region.x1 - region.x0 + 1);
        if (whole) outside.add_row(row + region.x1 + 1, src.width - 1 - region.x1);
    }
    inside.add_to(hist);
    if (whole) {
        std::memset(whole, 0, sizeof *whole);
        inside.add_to(*whole);
        outside.add_to(*whole);
    }
}

}  // namespace kelvra
