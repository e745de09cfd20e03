// SPDX-License-Identifier: GPL-2.0-or-later
// The per-frame engine call without ffmpeg: orientation, alpha, warm start,
// Freeze after N frames and the progress line.
#include "levels/corrector.h"

#include <gtest/gtest.h>

#include <random>

#include "base/filter_data.h"
#include "helpers.h"
#include "pass/frame_pass.h"
#include "report/progress.h"

using kelvra::cli::CorrectionSettings;
using kelvra::cli::Corrector;

namespace {

constexpr int kW = 48, kH = 36;

// Top-down frames whose top differs from their bottom, with a random alpha.
std::vector<uint32_t> picture(unsigned seed) {
    std::mt19937 rng(seed);
    std::vector<uint32_t> p(size_t(kW) * kH);
    for (int y = 0; y < kH; ++y) {
        for (int x = 0; x < kW; ++x) {
            const uint32_t r = 30 + x * 3 + rng() % 20, g = 20 + y * 4 + rng() % 20,
                           b = 90 + (x + y) + rng() % 30;
            p[size_t(y) * kW + x] = (rng() % 256) << 24 | r << 16 | g << 8 | b;
        }
    }
    return p;
}

std::vector<uint32_t> flipped(const std::vector<uint32_t>& p) {
    std::vector<uint32_t> f(p.size());
    for (int y = 0; y < kH; ++y) std::copy_n(&p[size_t(y) * kW], kW, &f[size_t(kH - 1 - y) * kW]);
    return f;
}

// The engine on a contiguous bottom-up copy; back to top-down, RGB only.
struct Reference {
    kelvra::FilterData fd;
    EnginePlan engine;
    explicit Reference(const CorrectionSettings& s) : engine(s.correction) {
        kelvra::init_filter_data(fd, kW, kH);
        kelvra::cli::apply_settings(fd, s);
    }
    std::vector<uint32_t> pass(const std::vector<uint32_t>& top_down) {
        std::vector<uint32_t> src = flipped(top_down), dst(src.size());
        engine.pass(fd, {src.data(), kW, kH, kW * 4}, {dst.data(), kW, kH, kW * 4}, nullptr, false);
        return flipped(dst);
    }
};

std::vector<uint32_t> corrected(Corrector& c, const std::vector<uint32_t>& in) {
    std::vector<uint32_t> out(in.size());
    c.correct(in.data(), out.data());
    return out;
}

uint32_t rgb(uint32_t p) { return p & 0xFFFFFF; }

void expect_rgb_equal(const std::vector<uint32_t>& got, const std::vector<uint32_t>& want, int frame) {
    for (size_t i = 0; i < got.size(); ++i)
        ASSERT_EQ(rgb(got[i]), rgb(want[i])) << "frame " << frame << " px " << i;
}

TEST(Corrector, SettingsLandInTheirOwnFields) {
    CorrectionSettings s;
    s.level = 11, s.soft = 12, s.border = 13, s.nup = 14, s.nleft = 15, s.nright = 16, s.ndown = 17;
    s.disable = 18, s.show_histogram = 19, s.freeze_after = 20;
    kelvra::FilterData fd;
    kelvra::init_filter_data(fd, kW, kH);
    kelvra::cli::apply_settings(fd, s);
    EXPECT_EQ(std::vector<int32_t>({fd.level, fd.soft, fd.border, fd.nup, fd.nleft, fd.nright, fd.ndown,
                                    fd.disable, fd.show_histogram, fd.freeze, fd.dialog_closed}),
              std::vector<int32_t>({11, 12, 13, 14, 15, 16, 17, 18, 19, 0, 1}));
}

TEST(Corrector, TopLineIsTheTopOfTheEnginesFrame) {
    CorrectionSettings s;
    s.border = 1, s.nup = 20, s.ndown = 1, s.soft = 1;
    Corrector c(s, kW, kH);
    Reference ref(s);
    for (unsigned i = 0; i < 6; ++i) expect_rgb_equal(corrected(c, picture(i)), ref.pass(picture(i)), int(i));
}

TEST(Corrector, PutsTheSourceAlphaBack) {
    Corrector c({}, kW, kH);
    const std::vector<uint32_t> in = picture(7), out = corrected(c, in);
    for (size_t i = 0; i < in.size(); ++i) ASSERT_EQ(out[i] >> 24, in[i] >> 24);
}

TEST(Corrector, WarmStartIsFivePassesOfTheFirstFrame) {
    Corrector c({}, kW, kH);
    Reference ref({});
    const std::vector<uint32_t> first = picture(1);
    std::vector<uint32_t> out(first.size());
    c.warm_up(first.data(), out.data());
    c.correct(first.data(), out.data());
    for (int i = 0; i < 4; ++i) ref.pass(first);
    expect_rgb_equal(out, ref.pass(first), 1);
    EXPECT_EQ(c.frames_done(), 1);
    // The history is full: a second frame is averaged with four of the first.
    expect_rgb_equal(corrected(c, picture(2)), ref.pass(picture(2)), 2);
}

TEST(Corrector, FreezeAfterHoldsTheEndPointsOfTheFirstNFrames) {
    CorrectionSettings s;
    s.freeze_after = 2;
    Corrector c(s, kW, kH);
    Reference ref(s);
    for (unsigned i = 0; i < 8; ++i) {
        if (i == 2) ref.fd.freeze = 1;  // frames 1 and 2 analysed
        expect_rgb_equal(corrected(c, picture(i)), ref.pass(picture(i)), int(i + 1));
    }
    // From the fifth frozen frame on, the held end points alone decide: the
    // same picture gives the same result wherever it comes.
    EXPECT_EQ(corrected(c, picture(3)), corrected(c, picture(3)));
}

TEST(ProgressLine, ShowsTotalSpeedAndTimeLeft) {
    using kelvra::cli::progress_line;
    EXPECT_EQ(progress_line(30, 120, 2.0), "[######..................] 30/120 frames  15.0 fps  ETA 0:06");
    EXPECT_EQ(progress_line(120, 120, 4.0), "[########################] 120/120 frames  30.0 fps  ETA 0:00");
    EXPECT_EQ(progress_line(0, 100000, 0.0), "[........................] 0/100000 frames  0.0 fps");
    EXPECT_EQ(progress_line(10, 100000, 1.0),
              "[........................] 10/100000 frames  10.0 fps  ETA 2:46:39");
    EXPECT_EQ(progress_line(45, std::nullopt, 3.0), "45 frames  15.0 fps");
}

}  // namespace
