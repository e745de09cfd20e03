// SPDX-License-Identifier: GPL-2.0-or-later
// The pixels the balance correction measures: a fixed grid over the analysis
// region, every step-th pixel of every step-th row, the step the smallest
// that keeps them within the capacity (all of them up to 320x400, every
// fourth of 1920x1080). The positions depend on the region alone, so a still
// scene measures the same in every frame.
#pragma once

#include <cstdint>
#include <vector>

#include "balance/balance.h"
#include "base/frame.h"
#include "base/region.h"

namespace kelvra {

// Where the sample lies: columns x rows pixels, every step-th of every
// step-th row from (x0, y0), rows counted up from the bottom as in a Frame.
struct SampleGrid {
    int32_t x0 = 0, y0 = 0, step = 1, columns = 0, rows = 0;
};

SampleGrid sample_grid(const Region& region);

class BalanceSample {
public:
    static constexpr int32_t kCapacity = int32_t{1} << 17;

    BalanceSample() : pixels_(kCapacity), spare_(kCapacity), scratch_(kBalanceScratch) {}

    void take(const Frame& src, const Region& region);

    const uint32_t* pixels() const { return pixels_.data(); }
    // Room for a part of the sample's pixels.
    uint32_t* spare() { return spare_.data(); }
    // Room for what measuring the balance sets aside.
    uint32_t* scratch() { return scratch_.data(); }
    int32_t count() const { return count_; }
    // The grid's shape: count() is columns() x rows(), row after row.
    int32_t columns() const { return columns_; }
    int32_t rows() const { return count_ ? count_ / columns_ : 0; }

private:
    std::vector<uint32_t> pixels_, spare_, scratch_;
    int32_t count_ = 0;
    int32_t columns_ = 1;
};

}  // namespace kelvra
