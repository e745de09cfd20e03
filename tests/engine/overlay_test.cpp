// SPDX-License-Identifier: GPL-2.0-or-later
// The histogram overlay: white grid, bar heights, layering and clipping.
#include "overlay/overlay.h"

#include <gtest/gtest.h>

#include <cstring>

#include "pass/frame_pass.h"
#include "plain_filter.h"
#include "test_frames.h"

using kelvra::ChannelCounts;

namespace {

ChannelCounts no_counts() {
    ChannelCounts c;
    std::memset(&c, 0, sizeof c);
    return c;
}

Image overlay_of(const Image& picture, bool with_histogram_source_disabled = true) {
    kelvra::FilterData fd = fresh_record(picture.w, picture.h);
    fd.disable = with_histogram_source_disabled;
    fd.show_histogram = 1;
    return run_engine(fd, picture);
}

}  // namespace

TEST(Overlay, BlackFrameShowsOnlyTheGrid) {
    Image out = overlay_of(Image(400, 120, 0));
    int white = 0;
    for (uint32_t p : out.px) {
        ASSERT_TRUE(p == 0 || p == 0xFFFFFF);
        white += p == 0xFFFFFF;
    }
    EXPECT_EQ(white, 3 * 255 + 8 * 63 + 64 - 7);
    EXPECT_EQ(white, 1326);
    EXPECT_EQ(out.at(288, 32), 0xFFFFFFu);
    EXPECT_EQ(out.at(33, 33), 0xFFFFFFu);
    EXPECT_EQ(out.at(32, 32), 0u);
    EXPECT_EQ(out.at(96, 96), 0u);
    EXPECT_EQ(out.at(352, 96), 0u);
}

TEST(Overlay, BarHeightIsCountOverThirty) {
    ChannelCounts counts = no_counts();
    counts.r[10] = 59;
    counts.r[11] = 60;
    counts.r[12] = 90;
    HostBuffer buf(Image(400, 120, 0), Layout::Contiguous);
    kelvra::draw_overlay(buf.frame, counts);
    Image out = buf.image();
    EXPECT_EQ(out.at(42, 33), 0u);  // 59: nothing
    EXPECT_EQ(out.at(43, 33), 0xFF6464u);
    EXPECT_EQ(out.at(43, 34), 0u);  // 60: one row
    EXPECT_EQ(out.at(44, 33), 0xFF6464u);
    EXPECT_EQ(out.at(44, 34), 0xFF6464u);
    EXPECT_EQ(out.at(44, 35), 0u);  // 90: two rows
    EXPECT_EQ(out.at(44, 32), 0xFFFFFFu) << "the base line stays under the bar";
}

TEST(Overlay, TallBarsAreCutAtTheTopAndLayered) {
    Image out = overlay_of(Image(400, 300, 0x808080));
    for (int y = 0; y < 300; ++y) {
        EXPECT_EQ(out.at(160, y), y >= 33 ? 0xFF6464u : y == 32 ? 0xFFFFFFu : 0x808080u) << y;
        EXPECT_EQ(out.at(192, y), y >= 65 ? 0x64FF64u : y == 64 || y == 32 ? 0xFFFFFFu : 0x808080u) << y;
    }
    EXPECT_EQ(out.at(224, 97), 0x6464FFu);
    EXPECT_EQ(out.at(224, 299), 0x6464FFu);
    EXPECT_EQ(out.at(224, 96), 0xFFFFFFu);
}

TEST(Overlay, RedCoversGreenWhereTheyShareAColumn) {
    ChannelCounts counts = no_counts();
    counts.r[40] = 3000;  // column 72
    counts.g[8] = 3000;   // column 72 too
    HostBuffer buf(Image(400, 200, 0), Layout::Contiguous);
    kelvra::draw_overlay(buf.frame, counts);
    Image out = buf.image();
    EXPECT_EQ(out.at(72, 70), 0xFF6464u);
    EXPECT_EQ(out.at(72, 72), 0xFF6464u) << "over slanted line 1";
    EXPECT_EQ(out.at(72, 131), 0xFF6464u);
    EXPECT_EQ(out.at(72, 132), 0x64FF64u);  // red: rows 33..131, green: 65..163
    EXPECT_EQ(out.at(72, 163), 0x64FF64u);
    EXPECT_EQ(out.at(72, 164), 0u);
}

TEST(Overlay, SmallFrameIsClippedAndPaddingUntouched) {
    for (Layout layout : {Layout::Padded, Layout::TopDown}) {
        std::mt19937 rng(9);
        const Image src = natural_image(100, 80, rng);
        kelvra::FilterData fd = fresh_record(100, 80), oracle = fd;
        fd.show_histogram = oracle.show_histogram = 1;
        HostBuffer in(src, layout), out(Image(100, 80), layout);
        kelvra::run_frame_pass(fd, in.frame, out.frame);
        EXPECT_TRUE(out.padding_intact());
        std::vector<uint32_t> want(src.px.size());
        plain::frame_pass(oracle, src.px, want, 100, 80);
        EXPECT_EQ(out.image().px, want);
    }
}
