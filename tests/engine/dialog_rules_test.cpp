// SPDX-License-Identifier: GPL-2.0-or-later
// Slider ranges and the offset coupling rule.
#include "dialog/dialog_rules.h"

#include <gtest/gtest.h>

using namespace kelvra;

TEST(DialogRules, OffsetSliderRange) {
    EXPECT_EQ(offset_slider_max(576), 561);
    EXPECT_EQ(offset_slider_max(720), 705);
    EXPECT_EQ(offset_slider_max(16), 1);
    EXPECT_EQ(offset_slider_max(10), 1);
    EXPECT_EQ(offset_slider_max(0), 1);
}

TEST(DialogRules, CouplingPullsTheOppositeOffsetBack) {
    EXPECT_EQ(coupled_opposite(300, 270, 576), 266);
    EXPECT_EQ(coupled_opposite(296, 270, 576), 270) << "a pair on the limit stays";
    EXPECT_EQ(coupled_opposite(561, 20, 576), 5);
    EXPECT_EQ(coupled_opposite(561, 1, 576), 1);
    EXPECT_EQ(coupled_opposite(1, 1, 576), 1);
}

TEST(DialogRules, SmallFramesNeverGetAnOffsetBelowOne) {
    EXPECT_EQ(coupled_opposite(1, 1, 10), 1);
    EXPECT_EQ(coupled_opposite(1, 3, 8), 1);
    EXPECT_EQ(coupled_opposite(1, 1, 12), 1);
}
