// SPDX-License-Identifier: GPL-2.0-or-later
// The per-pixel stretch. A channel's output depends only on its input byte,
// so each frame builds three 256-entry tables with the exact double formula.
// Where an integer formula on 16-bit lanes reproduces every table entry, the
// pixel loop computes with vectors instead of looking values up.
#pragma once

#include <cstdint>

#include "base/channel_counts.h"
#include "base/frame.h"
#include "plugin/end_points.h"
#include "stretch/remap_lanes.h"

namespace kelvra {

struct RemapTables {
    // Already shifted into place: out = r[R] | g[G] | b[B].
    uint32_t r[256], g[256], b[256];
};

struct RemapPlan {
    RemapTables tables;
    bool lanes_exact;  // `lanes` gives the tables' value for every input
    LaneFormula lanes;
};

// The exact tables, truncate(double(value - low) * 255 / (high - low))
// clamped to 0..255.
RemapTables remap_tables(const Levels& levels);

// The tables, and the lane formula where it gives the same bytes.
RemapPlan plan_remap(const Levels& levels);

void remap_frame(const Frame& src, const Frame& dst, const RemapPlan& plan);

// The counts of the remapped pixels, given the counts of the source pixels.
ChannelCounts remap_counts(const ChannelCounts& source, const RemapTables& tables);

}  // namespace kelvra
