// SPDX-License-Identifier: GPL-2.0-or-later
#include "stretch/remap.h"

#include <cstring>

#include "base/x86_arith.h"
#include "stretch/remap_kernels.h"

namespace kelvra {
namespace {

constexpr int kShift[3] = {16, 8, 0};  // red, green, blue

// Lanes follow the pixel's bytes in memory: blue, green, red, top byte.
constexpr int kLane[3] = {2, 1, 0};

using RemapRow = void (*)(const uint32_t*, uint32_t*, int32_t, const RemapPlan&);

// The one place a row kernel is chosen: vectors only where this frame's
// lane formula is exact, 32-byte ones only where the processor has them.
RemapRow pick_row_kernel(const RemapPlan& plan) {
    if (!plan.lanes_exact) return remap_row_c;
#if KELVRA_AVX2
    if (__builtin_cpu_supports("avx2")) return remap_row_avx2;
#endif
    return remap_row_sse2;
}

uint8_t stretch_value(int32_t value, int32_t low, double scale) {
    const int32_t v = trunc_to_int(static_cast<double>(wrap_sub(value, low)) * scale);
    return static_cast<uint8_t>(v < 0 ? 0 : v > 255 ? 255 : v);
}

}  // namespace

RemapTables remap_tables(const Levels& levels) {
    RemapTables t;
    uint32_t* table[3] = {t.r, t.g, t.b};
    for (int c = 0; c < 3; ++c) {
        const int32_t low = levels.v[c];
        // A high equal to its low gives an infinite scale: that channel is 0.
        const double scale = 255.0 / (static_cast<double>(levels.v[c + 3]) - static_cast<double>(low));
        for (int32_t value = 0; value < 256; ++value)
            table[c][value] = uint32_t{stretch_value(value, low, scale)} << kShift[c];
    }
    return t;
}

RemapPlan plan_remap(const Levels& levels) {
    RemapPlan plan;
    plan.tables = remap_tables(levels);
    const uint32_t* table[3] = {plan.tables.r, plan.tables.g, plan.tables.b};
    plan.lanes_exact = true;
    for (int c = 0; c < 3; ++c) {
        uint8_t bytes[256];
        for (int v = 0; v < 256; ++v) bytes[v] = static_cast<uint8_t>(table[c][v] >> kShift[c]);
        if (!fit_lane(plan.lanes, kLane[c], levels.v[c], levels.v[c + 3], bytes)) plan.lanes_exact = false;
    }
    zero_lane(plan.lanes, 3);
    return plan;
}

void remap_frame(const Frame& src, const Frame& dst, const RemapPlan& plan) {
    const RemapRow row_kernel = pick_row_kernel(plan);
    for (int32_t y = 0; y < src.height; ++y) row_kernel(src.row(y), dst.row(y), src.width, plan);
}

ChannelCounts remap_counts(const ChannelCounts& source, const RemapTables& t) {
    ChannelCounts out;
    std::memset(&out, 0, sizeof out);
    for (int v = 0; v < 256; ++v) {
        int32_t& r = out.r[t.r[v] >> 16];
        int32_t& g = out.g[t.g[v] >> 8];
        int32_t& b = out.b[t.b[v]];
        r = wrap_add(r, source.r[v]);
        g = wrap_add(g, source.g[v]);
        b = wrap_add(b, source.b[v]);
    }
    return out;
}

}  // namespace kelvra
