// SPDX-License-Identifier: GPL-2.0-or-later
#include "plugin/split_counter.h"

#include <cstring>

#include "base/x86_arith.h"

namespace kelvra {

SplitCounter::SplitCounter() { std::memset(tables_, 0, sizeof tables_); }

void SplitCounter::add_row(const uint32_t* pixels, int32_t width) {
    auto add = [this](int lane, uint32_t p) {
        ++tables_[0][lane][(p >> 16) & 0xFF];
        ++tables_[1][lane][(p >> 8) & 0xFF];
        ++tables_[2][lane][p & 0xFF];
    };
    int32_t x = 0;
    for (; x + 2 <= width; x += 2) {
        add(0, pixels[x]);
        add(1, pixels[x + 1]);
    }
    if (x < width) add(0, pixels[x]);
}

void SplitCounter::add_to(ChannelCounts& counts) const {
    int32_t* out[3] = {counts.r, counts.g, counts.b};
    for (int c = 0; c < 3; ++c)
        for (int bin = 0; bin < 256; ++bin)
            out[c][bin] =
                wrap_add(out[c][bin], static_cast<int32_t>(tables_[c][0][bin] + tables_[c][1][bin]));
}

void SplitCounter::add_to(gisto& hist) const {
    // Each table is a run of counts the histogram adds bin by bin, wrapping.
    auto counts = [this](int c, int lane) { return reinterpret_cast<const int32_t*>(tables_[c][lane]); };
    for (int lane = 0; lane < kLanes; ++lane)
        hist.AddCounts(counts(0, lane), counts(1, lane), counts(2, lane));
}

}  // namespace kelvra
