#include "remap.h"

#include "channels.h"
#include "x86_arith.h"

namespace kelvra {

uint8_t stretch_value(int32_t value, int32_t low, double scale) {
    const int32_t v = trunc_to_int(static_cast<double>(wrap_sub(value, low)) * scale);
    return static_cast<uint8_t>(v < 0 ? 0 : v > 255 ? 255 : v);
}

RemapTables build_remap_tables(const Levels& levels) {
    RemapTables t;
    uint32_t* table[3] = {t.r, t.g, t.b};
    const int shift[3] = {16, 8, 0};
    for (int c = 0; c < 3; ++c) {
        const int32_t low = levels.v[c];
        // A high equal to its low gives an infinite scale: that channel is 0.
        const double scale = 255.0 / (static_cast<double>(levels.v[c + 3]) - static_cast<double>(low));
        for (int32_t value = 0; value < 256; ++value)
            table[c][value] = uint32_t{stretch_value(value, low, scale)} << shift[c];
    }
    return t;
}

void remap_frame(const Frame& src, const Frame& dst, const RemapTables& t) {
    for (int32_t y = 0; y < src.height; ++y) {
        const uint32_t* in = src.row(y);
        uint32_t* out = dst.row(y);
        for (int32_t x = 0; x < src.width; ++x) {
            const int32_t p = static_cast<int32_t>(in[x]);
            out[x] = t.r[GetR(p)] | t.g[GetG(p)] | t.b[GetB(p)];
        }
    }
}

}  // namespace kelvra
