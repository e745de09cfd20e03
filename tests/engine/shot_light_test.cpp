// SPDX-License-Identifier: GPL-2.0-or-later
// Balance over a run of frames, on a still scene under a light made of
// per-channel gains: things passing through leave the levels where the
// empty scene has them, a light that changes is followed to the levels a
// run under that light from its first frame has, and another scene starts
// afresh.
#include "balance/shot_light.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <random>

#include "balance/balance_sample.h"
#include "base/region.h"
#include "pass/frame_pass.h"
#include "test_frames.h"

namespace {

constexpr int kW = 96, kH = 64;

struct Light {
    double r, g, b;
};

// A street under `light`: a gradient with texture, a sheet of paper, blacks
// lifted by haze, a new grain of noise each frame; a near-black car over
// columns car_x.. and a bluish white van over van_x.. when given.
Image street(const Light& light, unsigned frame, int car_x = -100, int van_x = -100, bool other = false) {
    std::mt19937 noise(frame);
    std::uniform_int_distribution<int> grain(-2, 2);
    return make_image(kW, kH, [&](int x, int y) {
        if (other) x = kW - 1 - x, y = (y * 7) % kH;
        double v[3];
        const double base = 20 + 120.0 * x / kW + 50.0 * y / kH + ((x * 5 + y * 11) % 17);
        v[0] = base, v[1] = base * 0.9 + 10, v[2] = base * 0.8 + 20;
        if (x > 70 && y > 40) v[0] = v[1] = v[2] = 230;  // the paper
        if (x >= car_x && x < car_x + 30 && y < 25) v[0] = v[1] = v[2] = 3;
        if (x >= van_x && x < van_x + 25 && y > 20 && y < 45) v[0] = 236, v[1] = 240, v[2] = 250;
        const double gain[3] = {light.r, light.g, light.b};
        uint32_t p = 0;
        for (int c = 0; c < 3; ++c)
            p = p << 8 | uint32_t(std::clamp(int(std::lround(v[c] * gain[c])) + grain(noise), 0, 255));
        return p;
    });
}

// The frame pass's measurement and balance's run, as a binding has them.
struct LightRun {
    kelvra::BalanceSample sample;
    kelvra::LightTracker tracker;
    kelvra::ShotLight light;
    kelvra::LightReport report;
    kelvra::Levels add(const Image& image, bool start = false) {
        kelvra::FilterData fd = fresh_record(kW, kH);
        kelvra::FrameAnalysis a;
        Image copy = image;
        kelvra::analyse_frame(fd, kelvra::Frame{copy.px.data(), kW, kH, kW * 4}, a,
                              {kelvra::Correction::kBalance, false, &sample, &tracker});
        static_cast<kelvra::LightReading&>(report) = a.light;
        return light.add(a.balance, a.light, start, report.used);
    }
};

// The levels balance gives the picture alone.
kelvra::Levels own(const Image& image) {
    static kelvra::BalanceSample sample;
    Image copy = image;
    sample.take(kelvra::Frame{copy.px.data(), kW, kH, kW * 4}, kelvra::Region{0, kW - 1, 0, kH - 1, kW * kH});
    return kelvra::balance_levels(kelvra::measure_balance(sample.pixels(), sample.count(), sample.scratch()));
}

int distance(const kelvra::Levels& a, const kelvra::Levels& b) {
    int most = 0;
    for (int i = 0; i < kelvra::kLevels; ++i) most = std::max(most, std::abs(a.v[i] - b.v[i]));
    return most;
}

const Light kWarm{1.0, 0.85, 0.65}, kCool{0.7, 0.88, 1.0};

TEST(ShotLight, ThingsPassingThroughAStillSceneLeaveTheLevelsAlone) {
    LightRun run;
    const kelvra::Levels empty = own(street(kWarm, 0));
    for (unsigned f = 0; f < 120; ++f) {
        // A car from frame 10 to 50, a van from 60 to 85.
        const int car = f >= 10 && f < 50 ? int(f - 10) * 3 : -100;
        const int van = f >= 60 && f < 85 ? int(f - 60) * 4 : -100;
        const Image frame = street(kWarm, f, car, van);
        if (f == 30 || f == 70) {
            ASSERT_GT(distance(own(frame), empty), 4) << "frame " << f << " shows nothing";
        }
        const kelvra::Levels got = run.add(frame);
        EXPECT_LE(distance(got, empty), 1) << "frame " << f;
        EXPECT_EQ(run.report.track, f ? kelvra::LightTrack::kKey : kelvra::LightTrack::kStart)
            << "frame " << f;
    }
}

TEST(ShotLight, ALightThatChangesIsFollowedAsIfItHadBeenThereFromTheStart) {
    LightRun run;
    const Light dim{0.6, 0.5, 0.4};
    const auto light_at = [&](unsigned f) {
        // Warm to cool over frames 10..50, a dim lamp from 80, a bright
        // neutral one switched on at 110.
        const double a = std::clamp((double(f) - 10) / 40, 0.0, 1.0);
        if (f >= 110) return Light{1, 1, 1};
        if (f >= 80) return dim;
        return Light{kWarm.r + a * (kCool.r - kWarm.r), kWarm.g + a * (kCool.g - kWarm.g),
                     kWarm.b + a * (kCool.b - kWarm.b)};
    };
    // Beside it, the runs that had the settled lights from the first frame,
    // compared from a second after the light settles, up to two levels
    // apart: the light given keeps a tolerance and creeps, and the warm light
    // kept blue in fewer levels.
    LightRun settled_cool, settled_bright;
    for (unsigned f = 0; f < 150; ++f) {
        const Light light = light_at(f);
        const kelvra::Levels got = run.add(street(light, f));
        const kelvra::Levels cool = settled_cool.add(street(kCool, f));
        const kelvra::Levels bright = settled_bright.add(street(Light{1, 1, 1}, f));
        ASSERT_NE(run.report.track, kelvra::LightTrack::kScene) << "frame " << f;
        const double gains[3] = {light.r / kWarm.r, light.g / kWarm.g, light.b / kWarm.b};
        for (int c = 0; c < 3; ++c)
            EXPECT_NEAR(run.report.gain[c], gains[c], 0.01 * gains[c]) << "frame " << f;
        const bool settled = (f >= 75 && f < 80) || f >= 135;
        if (settled) {
            EXPECT_LE(distance(got, f < 80 ? cool : bright), 2) << "frame " << f;
        }
    }
}

TEST(ShotLight, AnotherSceneStartsTheRunAgainOnceItHoldsAndSoDoesAShotStart) {
    LightRun run;
    kelvra::Levels before{};
    for (unsigned f = 0; f < 20; ++f) before = run.add(street(kWarm, f));
    // Its first frame could be a glitch; the second shows it is a scene.
    EXPECT_EQ(distance(run.add(street(kCool, 20, -100, -100, true)), before), 0);
    EXPECT_EQ(run.report.track, kelvra::LightTrack::kUnlike);
    const Image other = street(kCool, 21, -100, -100, true);
    EXPECT_EQ(distance(run.add(other), own(other)), 0);
    EXPECT_EQ(run.report.track, kelvra::LightTrack::kScene);
    // A shot start from the cut detector or the user, whatever the light.
    const Image back = street(kWarm, 22);
    EXPECT_EQ(distance(run.add(back, true), own(back)), 0);
}

}  // namespace
