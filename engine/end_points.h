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

Levels end_points(FilterData& fd, const Settings& settings, const gisto& hist);

}  // namespace kelvra
