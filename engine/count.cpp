#include "count.h"

#include <cstring>

#include "count_kernels.h"

namespace kelvra {
namespace {

// Columns x0..x1 of rows y0..y1, inclusive; nothing when either is empty.
void count_rect(const Frame& src, int32_t x0, int32_t x1, int32_t y0, int32_t y1, ChannelCounts& counts) {
    if (x0 > x1 || y0 > y1) return;
    count_block_split(src.row(y0) + x0, src.pitch, x1 - x0 + 1, y1 - y0 + 1, counts);
}

}  // namespace

void count_region(const Frame& src, const Region& region, gisto& hist) {
    if (region.empty()) return;
    ChannelCounts counts;
    std::memset(&counts, 0, sizeof counts);
    count_rect(src, region.x0, region.x1, region.y0, region.y1, counts);
    hist.AddCounts(counts.r, counts.g, counts.b);
}

ChannelCounts count_frame(const Frame& src, const Region& region, const gisto& hist) {
    ChannelCounts counts;
    for (int32_t v = 0; v < 256; ++v) {
        counts.r[v] = hist.GetGisR(v);
        counts.g[v] = hist.GetGisG(v);
        counts.b[v] = hist.GetGisB(v);
    }
    const int32_t right = src.width - 1, top = src.height - 1;
    if (region.empty()) {
        count_rect(src, 0, right, 0, top, counts);
        return counts;
    }
    count_rect(src, 0, right, 0, region.y0 - 1, counts);
    count_rect(src, 0, region.x0 - 1, region.y0, region.y1, counts);
    count_rect(src, region.x1 + 1, right, region.y0, region.y1, counts);
    count_rect(src, 0, right, region.y1 + 1, top, counts);
    return counts;
}

}  // namespace kelvra
