// SPDX-License-Identifier: GPL-2.0-or-later
// The frame pass on the worked frames: end points, stretch, Soft, Freeze,
// history averaging, Disable and the analysis outline.
#include "pass/frame_pass.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "base/x86_arith.h"
#include "plugin/end_points.h"
#include "plugin/gisto.h"
#include "test_frames.h"

using kelvra::FilterData;
using kelvra::Levels;

namespace {

void expect_current(const FilterData& fd, std::initializer_list<int> levels) {
    std::vector<int> got(fd.current, fd.current + 6);
    EXPECT_EQ(got, std::vector<int>(levels));
}

Image blue_cast() {
    return make_image(100, 50, [](int x, int) {
        const uint32_t rg = 40 + 2 * x, b = std::min(255, 60 + 2 * x);
        return (rg << 16) | (rg << 8) | b;
    });
}

constexpr int kCastColumn = 50;  // holds 0x8C8CA0

}  // namespace

TEST(FramePass, UniformGreyStaysGrey) {
    FilterData fd = open_dialog_record(16, 12);
    Image out = run_engine(fd, Image(16, 12, 0x808080));
    expect_current(fd, {3, 3, 3, 251, 251, 251});
    for (uint32_t p : out.px) ASSERT_EQ(p, 0x808080u);
}

TEST(FramePass, BlueCastIsPulledBack) {
    FilterData fd = open_dialog_record(100, 50);
    const Image src = blue_cast();
    ASSERT_EQ(src.at(kCastColumn, 7), 0x8C8CA0u);
    Image out = run_engine(fd, src);
    expect_current(fd, {4, 4, 11, 245, 245, 259});
    EXPECT_EQ(out.at(kCastColumn, 7), 0x8F8F99u);
    EXPECT_EQ(out.at(kCastColumn, 49), 0x8F8F99u);
}

TEST(FramePass, BlueCastWithSoft) {
    FilterData fd = open_dialog_record(100, 50);
    fd.soft = 1;
    Image out = run_engine(fd, blue_cast());
    expect_current(fd, {-5, -5, 2, 257, 257, 271});
    EXPECT_EQ(out.at(kCastColumn, 0), 0x8D8D95u);
}

TEST(SoftMode, EqualChannelsMoveTogether) {
    Levels levels{{10, 10, 10, 250, 250, 250}};
    kelvra::apply_soft(levels);
    EXPECT_EQ(std::vector<int>(levels.v, levels.v + 6), (std::vector<int>{10, 10, 10, 265, 265, 265}));
}

TEST(LimiterStrength, LevelOneBarelyStretchesLevel500Reaches33) {
    kelvra::gisto grey;  // start 100, deviations about 1e-5
    grey.SetLevel(25);
    grey.SetLevel_k(66);
    for (int i = 0; i < 10000; ++i) grey.SetRGB(102, 102, 102);
    grey.starting();
    ASSERT_EQ(grey.GetStartR(), 100);
    EXPECT_EQ(kelvra::raw_end_points(grey, 500).v[0], 33);
    EXPECT_EQ(kelvra::raw_end_points(grey, 1).v[0], 0);

    std::mt19937 rng(7);
    for (int trial = 0; trial < 50; ++trial) {
        FilterData fd = open_dialog_record(64, 48);
        fd.level = 1;
        run_engine(fd, natural_image(64, 48, rng));
        for (int c = 0; c < 3; ++c) {
            EXPECT_LE(fd.current[c], 3);
            EXPECT_GE(fd.current[c + 3], 251);
        }
    }
}

TEST(History, FirstClosedFrameIsAveragedWithDefaults) {
    FilterData open = open_dialog_record(100, 50);
    run_engine(open, blue_cast());
    FilterData closed = fresh_record(100, 50);
    Image out = run_engine(closed, blue_cast());
    // Lows 4, 4, 11 -> 0, 0, 2; highs 245, 245, 259 -> 253, 253, 255.
    const int low[3] = {0, 0, 2}, high[3] = {253, 253, 255};
    for (int c = 0; c < 3; ++c) {
        EXPECT_EQ(low[c], open.current[c] / 5);
        EXPECT_EQ(high[c], (open.current[c + 3] + 1020) / 5);
    }
    const uint32_t in = blue_cast().at(kCastColumn, 0);
    uint32_t expected = 0;
    for (int c = 0; c < 3; ++c) {
        const int v = (in >> (16 - 8 * c)) & 0xFF;
        expected |= uint32_t(kelvra::trunc_to_int((v - low[c]) * (255.0 / (high[c] - low[c]))))
                    << (16 - 8 * c);
    }
    EXPECT_EQ(out.at(kCastColumn, 0), expected);
    EXPECT_EQ(closed.history[2][0], 11);
    EXPECT_EQ(closed.history[2][1], 0);
}

TEST(History, FreezeHoldsCurrentAndConvergesOverFiveFrames) {
    FilterData fd = fresh_record(100, 50);
    const int held[6] = {20, 30, 40, 200, 210, 220};
    std::copy(held, held + 6, fd.current);
    fd.freeze = 1;
    std::mt19937 rng(3);
    for (int frame = 1; frame <= 6; ++frame) {
        const Image src = natural_image(100, 50, rng);
        const Image out = run_engine(fd, src);
        for (int i = 0; i < 6; ++i) EXPECT_EQ(fd.current[i], held[i]);
        for (int i = 0; i < 6; ++i) EXPECT_EQ(fd.history[i][0], held[i]);
        // Until the defaults have aged out the levels still move; from the
        // fifth frame on the picture is stretched by `current` exactly.
        const int v = (src.at(0, 0) >> 16) & 0xFF;
        const int want = std::clamp(kelvra::trunc_to_int((v - 20) * (255.0 / 180.0)), 0, 255);
        if (frame >= 5)
            EXPECT_EQ(int(out.at(0, 0) >> 16), want) << frame;
        else
            EXPECT_EQ(fd.history[0][frame], 0) << frame;
    }
}

TEST(History, FrozenFramesIgnorePictureContentWhileDialogOpen) {
    FilterData fd = open_dialog_record(40, 30);
    const int held[6] = {20, 30, 40, 200, 210, 220};
    std::copy(held, held + 6, fd.current);
    fd.freeze = 1;
    std::mt19937 rng(11);
    const Image a = natural_image(40, 30, rng);
    Image b = a;
    for (uint32_t& p : b.px) p ^= 0x003F1F;  // different content, same stretch
    Image out_a = run_engine(fd, a);
    Image out_b = run_engine(fd, b);
    for (int i = 0; i < 40 * 30; ++i) {
        for (int c = 0; c < 3; ++c) {
            const int v = (a.px[i] >> (16 - 8 * c)) & 0xFF;
            const double scale = 255.0 / (held[c + 3] - held[c]);
            const int want = std::clamp(kelvra::trunc_to_int((v - held[c]) * scale), 0, 255);
            ASSERT_EQ(int((out_a.px[i] >> (16 - 8 * c)) & 0xFF), want);
        }
    }
    EXPECT_NE(out_a.px, out_b.px);
}

TEST(Disable, CopiesPictureAndStillTracksHistory) {
    std::mt19937 rng(5);
    const Image src = natural_image(33, 21, rng);
    for (int closed = 0; closed <= 1; ++closed) {
        FilterData fd = fresh_record(33, 21);
        fd.dialog_closed = closed;
        fd.disable = 1;
        fd.border = closed;  // dialog closed or border off: no outline
        Image out = run_engine(fd, src);
        for (size_t i = 0; i < src.px.size(); ++i) ASSERT_EQ(out.px[i], src.px[i] & 0xFFFFFF);
        EXPECT_NE(fd.current[0] + fd.current[3], 255) << "levels come from the picture";
        EXPECT_EQ(fd.history[0][0], fd.current[0]);
    }
}

TEST(Outline, DefaultOffsetsPaintTheOuterRingButCorners) {
    FilterData fd = open_dialog_record(20, 10);
    fd.border = 1;
    fd.disable = 1;
    Image out = run_engine(fd, Image(20, 10, 0x101010));
    for (int y = 0; y < 10; ++y)
        for (int x = 0; x < 20; ++x) {
            const bool edge = x == 0 || x == 19 || y == 0 || y == 9;
            const bool corner = (x == 0 || x == 19) && (y == 0 || y == 9);
            EXPECT_EQ(out.at(x, y), edge && !corner ? 0xFF0000u : 0x101010u) << x << "," << y;
        }
}

TEST(Outline, OnlyWhileDialogOpen) {
    FilterData fd = fresh_record(20, 10);
    fd.border = 1;
    fd.disable = 1;
    Image out = run_engine(fd, Image(20, 10, 0x101010));
    for (uint32_t p : out.px) ASSERT_EQ(p, 0x101010u);
}

TEST(Report, TellsWhatTheFrameMeasuredAndWhatTheStretchUsed) {
    FilterData fd = fresh_record(100, 50);
    fd.freeze = 1;  // applied: the defaults in `current`, averaged with the default history
    fd.current[0] = 20;
    Image src = blue_cast(), out(100, 50);
    kelvra::FrameReport report;
    const auto view = [](Image& image) {
        return kelvra::Frame{image.px.data(), image.w, image.h, image.w * 4};
    };
    kelvra::run_frame_pass(fd, view(src), view(out), &report);
    const auto six = [](const Levels& l) { return std::vector<int>(l.v, l.v + 6); };
    EXPECT_EQ(std::vector<int>(report.start, report.start + 3), (std::vector<int>{40, 40, 60}));
    EXPECT_EQ(std::vector<int>(report.end, report.end + 3), (std::vector<int>{238, 238, 254}));
    EXPECT_EQ(std::vector<int>(report.median, report.median + 3), (std::vector<int>{139, 139, 157}));
    EXPECT_EQ(six(report.own), (std::vector<int>{4, 4, 11, 245, 245, 259}));
    EXPECT_EQ(six(report.applied), (std::vector<int>{4, 0, 0, 255, 255, 255}));
}
