// SPDX-License-Identifier: GPL-2.0-or-later
// Frames one at a time with their time stamps, as frei0r hosts hand them
// over, checked with the plug-in's correction against the plain frame pass on
// a plug-in record: in order
// the plug-in's averaging, at a break or a cut five passes of the frame (the
// history full of its own levels), a flash taken back once a frame shows
// the picture return.
#include "time/live_corrector.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <random>
#include <vector>

#include "test_frames.h"
#include "time/frame_clock.h"

namespace {

TEST(FrameClock, AStepFollowsOnUpToOneAndAHalfOfTheShortestStepSeen) {
    const double nan = std::numeric_limits<double>::quiet_NaN();
    struct Case {
        std::vector<double> times;
        std::vector<bool> breaks;
    };
    const Case cases[] = {
        // seconds and milliseconds alike; the first frame breaks
        {{0, 0.04, 0.08, 0.12}, {true, false, false, false}},
        {{1000, 1040, 1080}, {true, false, false}},
        // a skipped frame, a step back, the same frame again, a seek
        {{0, 40, 80, 160, 200, 120, 160, 160, 200, 5000, 5040},
         {true, false, false, true, false, true, false, true, false, true, false}},
        // uneven steps of a variable rate, within half a period
        {{0, 33, 67, 100, 133}, {true, false, false, false, false}},
        // hosts without time stamps, one of them handing over its "no time"
        {{nan, nan, nan}, {true, false, false}},
        {{-9.2233720368547758e18, -9.2233720368547758e18, -9.2233720368547758e18}, {true, false, false}},
    };
    for (const Case& c : cases) {
        kelvra::FrameClock clock;
        for (size_t i = 0; i < c.times.size(); ++i)
            EXPECT_EQ(clock.breaks(c.times[i]), c.breaks[i]) << "frame " << i << " at " << c.times[i];
    }
}

constexpr int kW = 64, kH = 48;

// A picture of the shot `seed` with a little sensor noise of frame `n`.
Image shot_frame(unsigned seed, unsigned n) {
    std::mt19937 rng(seed);
    Image image = natural_image(kW, kH, rng);
    std::mt19937 noise(seed * 1000 + n);
    for (uint32_t& p : image.px) p = (p ^ (noise() & 0x010101u)) & 0xFFFFFFu;
    return image;
}

Image flash_of(Image image) {
    for (uint32_t& p : image.px) p |= 0xC0C0C0u;
    return image;
}

// The plain reference: the frame pass on one record; `passes` 5 restarts the
// averaging at the frame, 0 puts the frame into the history and gives nothing.
struct Reference {
    kelvra::FilterData fd = fresh_record(kW, kH);
    Image run(const Image& frame, int passes = 1) {
        Image out(kW, kH);
        for (int i = 0; i < std::max(passes, 1); ++i) out = run_engine(fd, frame);
        return out;
    }
};

std::vector<uint32_t> live(kelvra::LiveCorrector& corrector, const kelvra::LiveSettings& s, double time,
                           const Image& frame) {
    std::vector<uint32_t> out(frame.px.size());
    corrector.correct(s, time, frame.px.data(), out.data());
    return out;
}

TEST(LiveCorrector, InOrderItAveragesAsThePlugInAndABreakRestartsAsAtACut) {
    const double times[] = {0, 40, 80, 120, 400, 440, 200, 240, 240, 280};
    const bool breaks[] = {false, false, false, false, true, false, true, false, true, false};
    kelvra::LiveCorrector corrector(kW, kH);
    kelvra::LiveSettings s;
    s.correction = kelvra::Correction::kPlugin;
    Reference reference;
    for (unsigned f = 0; f < 10; ++f) {
        const Image frame = shot_frame(7, f);
        const std::vector<uint32_t> want = reference.run(frame, breaks[f] ? 5 : 1).px;
        ASSERT_EQ(live(corrector, s, times[f], frame), want) << "frame " << f;
    }
}

TEST(LiveCorrector, ShotAwareItRestartsAtCutsAndTakesFlashesBack) {
    // Shot 1 with a flash at frame 3, shot 2 from frame 7 with a flash of
    // two frames at 9 and 10.
    std::vector<Image> frames;
    for (unsigned f = 0; f < 13; ++f) frames.push_back(f < 7 ? shot_frame(1, f) : shot_frame(2, f));
    for (const size_t f : {3, 9, 10}) frames[f] = flash_of(frames[f]);
    kelvra::LiveSettings s;
    s.correction = kelvra::Correction::kPlugin;
    s.sensitivity = 50;
    kelvra::LiveCorrector corrector(kW, kH);
    Reference reference, flash;
    for (size_t f = 0; f < frames.size(); ++f) {
        std::vector<uint32_t> want;
        if (f == 3 || f == 9 || f == 10) {
            // Judged at once as a cut, a flash's first frame gets its own
            // full correction, and its second follows on from it; once a
            // frame shows the picture return, they count as plain frames.
            if (f != 10) flash = Reference();
            want = flash.run(frames[f], f == 10 ? 1 : 5).px;
            reference.run(frames[f]);
        } else {
            want = reference.run(frames[f], f == 0 || f == 7 ? 5 : 1).px;
        }
        ASSERT_EQ(live(corrector, s, 40.0 * double(f), frames[f]), want) << "frame " << f;
    }
}

TEST(LiveCorrector, InPlaceFramesKeepTheirAlphaAndMatch) {
    kelvra::LiveCorrector apart(kW, kH), in_place(kW, kH);
    kelvra::LiveSettings s;
    s.show_histogram = 1;
    std::mt19937 rng(3);
    for (unsigned f = 0; f < 4; ++f) {
        Image frame = shot_frame(5, f);
        for (uint32_t& p : frame.px) p |= rng() & 0xFF000000u;
        const std::vector<uint32_t> want = live(apart, s, f, frame);
        std::vector<uint32_t> buffer = frame.px;
        in_place.correct(s, f, buffer.data(), buffer.data());
        ASSERT_EQ(buffer, want) << "frame " << f;
        for (size_t i = 0; i < buffer.size(); ++i) ASSERT_EQ(buffer[i] >> 24, frame.px[i] >> 24);
    }
}

// A GPU host measures a copy of the lattice's pixels alone, far fewer than
// the frame's; balance must give it the whole frame's levels, with a border
// too, as the light changes.
TEST(LiveCorrector, BalanceOnAPackedCopyOfItsLatticeGivesTheWholeFramesLevels) {
    struct Case {
        int w, h;
        kelvra::LiveSettings settings;
    };
    kelvra::LiveSettings bordered;
    bordered.border = 1;
    bordered.nup = 40, bordered.nleft = 7, bordered.nright = 90, bordered.ndown = 3;
    for (const Case& c : {Case{1920, 1080, {}}, Case{1001, 701, bordered}}) {
        const kelvra::Lattice lattice = kelvra::balance_lattice(c.settings, c.w, c.h);
        if (c.w == 1920) {
            EXPECT_EQ(lattice.step, 4);
            EXPECT_EQ(lattice.columns * lattice.rows, 480 * 270);
        }
        kelvra::LiveCorrector whole(c.w, c.h), copied(lattice.columns, lattice.rows);
        kelvra::LiveSettings unbordered = c.settings;
        unbordered.border = 0;
        std::mt19937 rng(11);
        std::vector<uint32_t> copy(size_t(lattice.columns) * lattice.rows);
        for (int f = 0; f < 4; ++f) {
            Image frame = natural_image(c.w, c.h, rng);
            // The light warms from frame to frame.
            for (uint32_t& p : frame.px) p = (p & 0xFFFF00FFu) | ((((p >> 8) & 0xFF) * (8 - f) / 8) << 8);
            for (int j = 0; j < lattice.rows; ++j)
                for (int i = 0; i < lattice.columns; ++i)
                    copy[size_t(j) * lattice.columns + i] =
                        frame.px[size_t(lattice.top + j * lattice.step) * c.w + lattice.left +
                                 i * lattice.step];
            const kelvra::Levels want = whole.measure(c.settings, f, frame.px.data());
            const kelvra::Levels got = copied.measure(unbordered, f, copy.data());
            for (int k = 0; k < kelvra::kLevels; ++k)
                ASSERT_EQ(got.v[k], want.v[k]) << c.w << "x" << c.h << ", frame " << f << ", level " << k;
        }
    }
}

}  // namespace
