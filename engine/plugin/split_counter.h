// SPDX-License-Identifier: GPL-2.0-or-later
// Counting channel bytes with the increments spread over two tables per
// channel, alternating pixel by pixel: neighbouring pixels of equal value
// then do not wait on each other's stores. The tables are padded so that one
// bin of different tables never shares the low 12 address bits, which the
// processor would take for a dependency. Counting is bound by its three
// stores per pixel; this keeps it there.
#pragma once

#include <cstdint>

#include "base/channel_counts.h"
#include "plugin/gisto.h"

namespace kelvra {

class SplitCounter {
public:
    SplitCounter();

    void add_row(const uint32_t* pixels, int32_t width);

    // Adds what was counted, bin by bin.
    void add_to(ChannelCounts& counts) const;
    void add_to(gisto& hist) const;

private:
    static constexpr int kLanes = 2;
    static constexpr int kStride = 256 + 16;
    uint32_t tables_[3][kLanes][kStride];  // red, green, blue
};

}  // namespace kelvra
