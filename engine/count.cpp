#include "count.h"

#include "channels.h"

namespace kelvra {

void count_region(const Frame& src, const Region& region, gisto& hist) {
    if (region.empty()) return;
    for (int32_t y = region.y0; y <= region.y1; ++y) {
        const uint32_t* row = src.row(y);
        for (int32_t x = region.x0; x <= region.x1; ++x) {
            const int32_t p = static_cast<int32_t>(row[x]);
            hist.SetRGB(GetR(p), GetG(p), GetB(p));
        }
    }
}

}  // namespace kelvra
