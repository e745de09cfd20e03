// From one frame's histogram statistics to the six end points that stretch
// it: limiter, Soft, Freeze, the five-frame history and Disable.
#pragma once

#include <cstdint>

#include "filter_data.h"

namespace kelvra {

class gisto;

struct Levels {
    int32_t v[kLevels];  // low R, G, B, high R, G, B
};

// Raw end points of an analysed histogram for limiter strength `level`.
Levels raw_end_points(const gisto& hist, int32_t level);

void apply_soft(Levels& levels);

// Freeze, history and averaging: updates `current` and `history` in the
// record and returns the levels this frame uses (before Disable).
Levels track_history(FilterData& fd, const Settings& settings, const Levels& computed);

// One frame's histogram statistics and the levels made from them.
struct FrameReport {
    int32_t start[3];   // dark end points of the histogram, R, G, B
    int32_t end[3];     // bright end points
    int32_t median[3];  // the values the limiter used
    Levels own;         // this frame's own levels: limiter and Soft, before Freeze and averaging
    Levels applied;     // what the stretch used: after Freeze, averaging and Disable
};

// Every step from the histogram to the stretch's levels; fills `report`
// when one is given.
Levels end_points(FilterData& fd, const Settings& settings, const gisto& hist, FrameReport* report);

}  // namespace kelvra
