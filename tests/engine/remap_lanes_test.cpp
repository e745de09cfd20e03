// SPDX-License-Identifier: GPL-2.0-or-later
// The stretch as 16-bit lane arithmetic: wherever a lane is fitted it gives
// the double formula's byte for all 256 inputs; where it cannot be, it says
// so.
#include "stretch/remap_lanes.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "base/x86_arith.h"

namespace {

int exact_stretch(int v, int low, int high) {
    const double scale = 255.0 / (double(high) - double(low));
    return std::clamp(kelvra::trunc_to_int(double(kelvra::wrap_sub(v, low)) * scale), 0, 255);
}

struct Table {
    uint8_t bytes[256];
};

Table exact_table(int low, int high) {
    Table t;
    for (int v = 0; v < 256; ++v) t.bytes[v] = uint8_t(exact_stretch(v, low, high));
    return t;
}

// Fits one lane and, if it fits, checks every byte. Returns whether it fit.
bool fits_exactly(int low, int high) {
    const Table t = exact_table(low, high);
    kelvra::LaneFormula lanes;
    const int lane = (low & 3);
    if (!kelvra::fit_lane(lanes, lane, low, high, t.bytes)) return false;
    for (int v = 0; v < 256; ++v) {
        EXPECT_EQ(kelvra::lane_value(lanes, lane, v), t.bytes[v])
            << "low " << low << " high " << high << " v " << v;
        if (kelvra::lane_value(lanes, lane, v) != t.bytes[v]) return false;
    }
    return true;
}

}  // namespace

TEST(RemapLanes, FittedLanesGiveTheDoubleFormulaForEveryByte) {
    int tried = 0, fitted = 0;
    for (int low = -255; low <= 255; low += 3)
        for (int high = low + 1; high <= low + 320; ++high) {
            ++tried;
            fitted += fits_exactly(low, high);
        }
    // Almost every stretch a picture gets must take the vector path; the
    // rest fall back to the tables and stay exact.
    EXPECT_GT(fitted, tried * 9 / 10) << fitted << " of " << tried;
}

TEST(RemapLanes, WholeNumberScalesFit) {
    EXPECT_TRUE(fits_exactly(0, 255));     // the identity, as with Disable
    EXPECT_TRUE(fits_exactly(0, 170));     // 1.5
    EXPECT_TRUE(fits_exactly(85, 170));    // 3
    EXPECT_TRUE(fits_exactly(-255, 255));  // 0.5
    EXPECT_TRUE(fits_exactly(254, 255));   // 255: one step from 0 to 255
}

TEST(RemapLanes, StretchesOutsideTheLaneRangeAreRefusedAndGiveZero) {
    const int cases[][2] = {{-256, 100}, {256, 300}, {100, 100}, {200, 100}, {INT32_MIN, 0}, {0, INT32_MIN}};
    for (const auto& c : cases) {
        const Table t = exact_table(c[0], c[1]);
        kelvra::LaneFormula lanes;
        EXPECT_FALSE(kelvra::fit_lane(lanes, 2, c[0], c[1], t.bytes)) << c[0] << " " << c[1];
        for (int v = 0; v < 256; ++v) ASSERT_EQ(kelvra::lane_value(lanes, 2, v), 0);
    }
}

TEST(RemapLanes, ZeroLaneGivesZero) {
    kelvra::LaneFormula lanes;
    const Table t = exact_table(3, 250);
    ASSERT_TRUE(kelvra::fit_lane(lanes, 3, 3, 250, t.bytes));
    kelvra::zero_lane(lanes, 3);
    for (int v = 0; v < 256; ++v) ASSERT_EQ(kelvra::lane_value(lanes, 3, v), 0);
}
