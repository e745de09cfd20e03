// SPDX-License-Identifier: GPL-2.0-or-later
// Balance: what it measures in a picture, the levels it makes of that, and
// what they do to a cast, checked by stretching pixels with the levels.
#include "balance/balance.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <vector>

#include "balance/balance_sample.h"
#include "base/region.h"
#include "pass/frame_pass.h"

namespace {

uint32_t rgb(int r, int g, int b) { return uint32_t(r) << 16 | uint32_t(g) << 8 | uint32_t(b); }
int channel(uint32_t p, int c) { return int(p >> (16 - 8 * c)) & 0xFF; }

// What the stretch does with six levels, in doubles: the value, not the
// exact byte, is what these tests are about.
double stretched(int v, const kelvra::Levels& l, int c) {
    return std::clamp((v - l.v[c]) * 255.0 / (l.v[c + 3] - l.v[c]), 0.0, 255.0);
}

// A scene: white paper, a grey card, a dark corner, coloured objects, and a
// red lamp brighter in its own channel than the paper.
std::vector<uint32_t> scene() {
    std::vector<uint32_t> px;
    for (int i = 0; i < 4000; ++i) {
        const int shade = i % 97;
        switch (i % 8) {
            case 0:
                px.push_back(rgb(236 + shade % 12, 236 + shade % 12, 236 + shade % 12));
                break;
            case 1:
                px.push_back(rgb(90 + shade, 90 + shade, 90 + shade));
                break;
            case 2:
                px.push_back(rgb(shade % 9, shade % 9, shade % 9));
                break;
            case 3:
                px.push_back(rgb(40 + shade, 120 + shade, 30));
                break;
            case 4:
                px.push_back(rgb(150 + shade, 60, 40));
                break;
            case 5:
                px.push_back(rgb(30, 70 + shade, 130 + shade));
                break;
            case 6:
                px.push_back(rgb(200, 170, 120 + shade % 30));
                break;
            default:
                px.push_back(i % 800 == 7 ? rgb(255, 40, 20) : rgb(120, 100 + shade, 80));
                break;
        }
    }
    return px;
}

std::vector<uint32_t> with_cast(const std::vector<uint32_t>& px, const double (&gain)[3],
                                const int (&lift)[3]) {
    std::vector<uint32_t> out;
    for (uint32_t p : px) {
        int v[3];
        for (int c = 0; c < 3; ++c)
            v[c] = std::clamp(int(std::lround(lift[c] + channel(p, c) * gain[c] * (1 - lift[c] / 255.0))), 0,
                              255);
        out.push_back(rgb(v[0], v[1], v[2]));
    }
    return out;
}

kelvra::BalancePoints measured(const uint32_t* px, int32_t count) {
    static std::vector<uint32_t> scratch(kelvra::kBalanceScratch);
    return kelvra::measure_balance(px, count, scratch.data());
}

kelvra::Levels levels_of(const std::vector<uint32_t>& px) {
    return kelvra::balance_levels(measured(px.data(), int32_t(px.size())));
}

TEST(BalanceLevels, BringEachChannelsBlackAndWhiteToTheDarkestBlackAndBrightestWhite) {
    // A warm cast with lifted blacks: each channel's black and white become
    // its low and high, as nothing of the common black is lifted.
    const kelvra::Levels faded = kelvra::balance_levels({{255, 217, 166}, {15, 10, 5}, 0});
    // Within the dead zone of two levels the blacks stay together.
    const kelvra::Levels near = kelvra::balance_levels({{250, 250, 250}, {2, 4, 3}, 0});
    const int32_t want_faded[6] = {13, 8, 5, 255, 217, 166};
    const int32_t want_near[6] = {2, 2, 2, 255, 255, 255};
    for (int i = 0; i < 6; ++i) {
        EXPECT_EQ(faded.v[i], want_faded[i]) << "level " << i;
        EXPECT_EQ(near.v[i], want_near[i]) << "level " << i;
    }
    // A common lift of 40 goes by 24, the brightest white stays where it is.
    const kelvra::Levels lifted = kelvra::balance_levels({{250, 250, 250}, {40, 40, 40}, 0});
    for (int c = 0; c < 3; ++c) {
        EXPECT_NEAR(stretched(40, lifted, c), 16, 1);
        EXPECT_NEAR(stretched(250, lifted, c), 250, 1);
    }
}

TEST(BalanceLevels, APictureWithoutRangeOrAnExtremeCastIsLeftAlone) {
    // A flat red card, a black frame: nothing to tell a white from.
    for (const kelvra::BalancePoints& flat : {kelvra::BalancePoints{{200, 20, 20}, {190, 12, 12}, 0},
                                              kelvra::BalancePoints{{9, 12, 6}, {0, 0, 0}, 0}}) {
        const kelvra::Levels l = kelvra::balance_levels(flat);
        const int32_t identity[6] = {0, 0, 0, 255, 255, 255};
        for (int i = 0; i < 6; ++i) EXPECT_EQ(l.v[i], identity[i]);
    }
    // A channel at a tenth of the others' white is raised threefold at most.
    const kelvra::Levels l = kelvra::balance_levels({{250, 250, 25}, {0, 0, 0}, 0});
    EXPECT_NEAR(stretched(25, l, 2), 75, 1);
}

TEST(BalanceLevels, AWhiteOfStrayColoursIsTrustedLessAndLess) {
    // Blue at 200 of a white of 255: in full, halfway (in ratio) and not at all.
    const int spreads[] = {40, 95, 150, 400};
    const double blue_of_200[] = {255, 225.8, 200, 200};
    for (int i = 0; i < 4; ++i) {
        const kelvra::Levels l = kelvra::balance_levels({{255, 255, 200}, {0, 0, 0}, spreads[i]});
        EXPECT_NEAR(stretched(200, l, 2), blue_of_200[i], 1) << "spread " << spreads[i];
    }
}

TEST(BalanceMeasure, TheWhiteIsWhereAllThreeChannelsAreBrightTogether) {
    const std::vector<uint32_t> px = scene();
    const kelvra::BalancePoints p = measured(px.data(), int32_t(px.size()));
    // The paper's white, not the red lamp's 255.
    for (int c = 0; c < 3; ++c) EXPECT_EQ(p.white[c], 236 + 11) << "channel " << c;
    EXPECT_EQ(p.white_spread, 0) << "the paper's pixels are all of one colour";
    // Three coloured lights make a white of strays.
    const uint32_t lights[] = {rgb(255, 200, 100), rgb(100, 200, 255), rgb(200, 255, 150)};
    EXPECT_GT(measured(lights, 3).white_spread, 150);
    EXPECT_EQ(p.black[0], 0);
    const kelvra::BalancePoints none = measured(nullptr, 0);
    EXPECT_EQ(none.white[2], 255);
    EXPECT_EQ(none.black[2], 0);
}

TEST(BalanceMeasure, GainAndLiftCastsComeOutAsTheUncastPictureDoes) {
    const std::vector<uint32_t> original = scene();
    const kelvra::Levels plain = levels_of(original);
    const double gains[][3] = {{1, 0.85, 0.65}, {0.7, 0.88, 1}, {0.8, 1, 0.8}, {0.95, 0.8, 0.55}};
    const int lifts[][3] = {{0, 0, 0}, {0, 0, 0}, {0, 0, 0}, {15, 10, 5}};
    for (int k = 0; k < 4; ++k) {
        const std::vector<uint32_t> cast = with_cast(original, gains[k], lifts[k]);
        const kelvra::Levels l = levels_of(cast);
        // The brightest channel keeps its white, so a cast that dims every
        // channel leaves the picture as much darker: compare up to that.
        const double scale =
            stretched(channel(cast[0], 0), l, 0) / stretched(channel(original[0], 0), plain, 0);
        double worst = 0;
        for (size_t i = 0; i < original.size(); ++i) {
            for (int c = 0; c < 3; ++c) {
                const double want = stretched(channel(original[i], c), plain, c) * scale;
                // The cast cuts levels off a channel; they come back within a
                // gain's step.
                worst = std::max(worst, std::abs(stretched(channel(cast[i], c), l, c) - want));
            }
        }
        EXPECT_LT(worst, 4.0) << "cast " << k;
    }
}

TEST(BalanceMeasure, AGainHiddenAboveTheClipIsTakenFromThePixelsBelowIt) {
    // A camera set for the wrong light: the paper clips in the channels whose
    // gain is above 1 and reads as if they had none there; the grey card
    // below the clip keeps every gain. Tungsten outdoors clips red and green,
    // a green-tinted setting green alone.
    const std::vector<uint32_t> original = scene();
    const double gains[2][3] = {{1.3, 1.05, 0.7}, {0.85, 1.25, 0.8}};
    for (const auto& gain : gains) {
        const std::vector<uint32_t> cast = with_cast(original, gain, {0, 0, 0});
        const kelvra::Levels l = levels_of(cast);
        for (size_t i = 1; i < original.size(); i += 8) {
            const int grey = channel(original[i], 0);
            if (grey < 140) continue;
            const double r = stretched(channel(cast[i], 0), l, 0);
            EXPECT_NEAR(stretched(channel(cast[i], 1), l, 1), r, 3)
                << "grey " << grey << ", green " << gain[1];
            EXPECT_NEAR(stretched(channel(cast[i], 2), l, 2), r, 3)
                << "grey " << grey << ", green " << gain[1];
        }
        // The paper cannot be recovered, but it stays white, not a coloured band.
        for (int c = 0; c < 3; ++c)
            EXPECT_GE(stretched(channel(cast[0], c), l, c), 253) << "channel " << c << ", green " << gain[1];
    }
    // With one channel clipped, the two others show the light exactly, even
    // where the brightest pixels below the clip are lavender: greys keep
    // their red and blue equal.
    std::vector<uint32_t> lavender = original;
    lavender.insert(lavender.end(), 400, rgb(200, 170, 230));
    const std::vector<uint32_t> cast = with_cast(lavender, gains[1], {0, 0, 0});
    const kelvra::Levels l = levels_of(cast);
    for (size_t i = 1; i < original.size(); i += 8)
        EXPECT_NEAR(stretched(channel(cast[i], 2), l, 2), stretched(channel(cast[i], 0), l, 0), 2)
            << "grey " << channel(original[i], 0);
}

TEST(BalanceMeasure, AStrongHiddenGainIsTakenWellBelowWhereItClipsTheSameLight) {
    // Daylight under a blue-tinted setting clips the paper, a fifth of the
    // picture, in blue; just below that clip only what has less blue is left,
    // a cream card among them. The grey card's lower half still shows the
    // light.
    std::vector<uint32_t> original = scene();
    original.insert(original.end(), 600, rgb(240, 240, 240));
    original.insert(original.end(), 400, rgb(240, 235, 180));
    const std::vector<uint32_t> cast = with_cast(original, {0.75, 1.0, 1.35}, {0, 0, 0});
    const kelvra::Levels l = levels_of(cast);
    for (size_t i = 1; i < 4000; i += 8) {
        const double g = stretched(channel(cast[i], 1), l, 1);
        EXPECT_NEAR(stretched(channel(cast[i], 0), l, 0), g, 3) << "grey " << channel(original[i], 0);
        EXPECT_NEAR(stretched(channel(cast[i], 2), l, 2), g, 3) << "grey " << channel(original[i], 0);
    }

    // A thing passing changes the share of the measured pixels that the clip
    // covers; the light found moves with it a little at a time, not from one
    // search to the other.
    std::vector<uint32_t> street = scene();
    street.insert(street.end(), 400, rgb(240, 235, 180));
    street.insert(street.end(), 4600, rgb(120, 110, 90));
    const std::vector<uint32_t> lit = with_cast(street, {0.75, 1.0, 1.35}, {0, 0, 0});
    kelvra::BalancePoints before = measured(lit.data(), int32_t(lit.size()));
    for (int32_t covered = 200; covered <= 3000; covered += 200) {
        const kelvra::BalancePoints now = measured(lit.data(), int32_t(lit.size()) - covered);
        for (int c = 0; c < 3; ++c)
            EXPECT_NEAR(before.white[c], now.white[c], 2) << covered << " covered, channel " << c;
        before = now;
    }
}

TEST(BalanceSample, AGridOverTheRegionWithinTheCapacity) {
    std::vector<uint32_t> pixels(size_t(1920) * 1080, 0xFF102030u);
    const kelvra::Frame frame{pixels.data(), 1920, 1080, 1920 * 4};
    kelvra::BalanceSample sample;
    sample.take(frame, kelvra::Region{0, 1919, 0, 1079, 0});
    EXPECT_EQ(sample.count(), 480 * 270);
    EXPECT_EQ(sample.pixels()[0], 0x102030u) << "the top byte is cleared";

    // Up to the capacity every pixel of the region, and only those.
    for (uint32_t& p : pixels) p = 0x00FFFFFFu;
    const kelvra::Frame small{pixels.data(), 320, 400, 320 * 4};
    for (int y = 10; y < 390; ++y)
        for (int x = 5; x < 300; ++x) small.row(y)[x] = 0x00808080u;
    sample.take(small, kelvra::Region{5, 299, 10, 389, 0});
    EXPECT_EQ(sample.count(), 295 * 380);
    for (int32_t i = 0; i < sample.count(); ++i) ASSERT_EQ(sample.pixels()[i], 0x00808080u);
    sample.take(small, kelvra::Region{5, 4, 0, 9, 0});
    EXPECT_EQ(sample.count(), 0);
}

}  // namespace
