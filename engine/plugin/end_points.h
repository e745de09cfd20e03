// SPDX-License-Identifier: GPL-2.0-or-later
// From one frame's histogram statistics to the six end points that stretch
// it: limiter, Soft, Freeze, the five-frame history and Disable.
#pragma once

#include <cstdint>

#include "balance/balance.h"
#include "balance/shot_light.h"
#include "base/correction.h"
#include "base/filter_data.h"
#include "base/levels.h"

namespace kelvra {

class gisto;

// Raw end points of an analysed histogram for limiter strength `level`.
Levels raw_end_points(const gisto& hist, int32_t level);

void apply_soft(Levels& levels);

// Freeze, history and averaging: updates `current` and `history` in the
// record and returns the levels this frame uses (before Disable).
Levels track_history(FilterData& fd, const Settings& settings, const Levels& computed);

// The frame's own levels: limiter and Soft, before Freeze and averaging.
Levels own_levels(const Settings& settings, const gisto& hist);

// Every entry of the history and the held levels become `own`: the state five
// passes of the same frame leave, so the next pass of that frame gets its
// full correction and nothing of the frames before.
void restart_history(FilterData& fd, const Levels& own);

constexpr int kShapeBins = 32;

// One frame's statistics and the levels made from them. The histogram's
// (start, end, median, shape) are there where it was counted, the balance
// correction's points where it ran.
struct FrameReport {
    Correction correction;  // the one that made `own`
    int32_t start[3];       // dark end points of the histogram, R, G, B
    int32_t end[3];         // bright end points
    int32_t median[3];      // the values the limiter used
    BalancePoints balance;
    LightReport light;  // with balance: how the run followed the light
    Levels own;         // this frame's own levels, before Freeze and averaging
    Levels applied;     // what the stretch used: after Freeze, averaging and Disable
    // Each channel's share of the analysed pixels in bins of 8 values, in
    // 1/65535: enough of the histogram's shape to tell two shots apart.
    uint16_t shape[3][kShapeBins];
};

// Fills everything the histogram gives and `own`; the balance points and
// `applied` are left to the caller.
void describe_frame(const gisto& hist, const Levels& own, FrameReport& report);

// From the frame's own levels to the stretch's: Freeze, the history,
// averaging and Disable; fills `report` (but for what the frame measured)
// when one is given.
Levels end_points(FilterData& fd, const Settings& settings, const Levels& own, FrameReport* report);

// For levels already steadied over frames: Freeze holds the record's
// current levels and Disable takes the correction away, as end_points does,
// with no history; fills `report`'s own and applied levels when one is given.
Levels hold_or_disable(FilterData& fd, const Settings& settings, const Levels& own, const Levels& levels,
                       FrameReport* report);

}  // namespace kelvra
