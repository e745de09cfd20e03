// The per-pixel stretch. A channel's output depends only on its input byte,
// so each frame builds three 256-entry tables with the exact double formula
// and the pixel loop only looks values up.
#pragma once

#include <cstdint>

#include "end_points.h"
#include "frame.h"

namespace kelvra {

struct RemapTables {
    // Already shifted into place: out = r[R] | g[G] | b[B].
    uint32_t r[256], g[256], b[256];
};

// truncate(double(value - low) * 255 / (high - low)), clamped to 0..255.
uint8_t stretch_value(int32_t value, int32_t low, double scale);

RemapTables build_remap_tables(const Levels& levels);

void remap_frame(const Frame& src, const Frame& dst, const RemapTables& tables);

}  // namespace kelvra
