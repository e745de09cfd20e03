// SPDX-License-Identifier: GPL-2.0-or-later
// The overlay's counts of the destination, derived instead of counted: the
// source counts mapped through the remap tables, then corrected for every
// outline pixel. Each step against a plain count of the frame it describes.
#include <gtest/gtest.h>

#include <climits>

#include "overlay/outline.h"
#include "stretch/remap.h"
#include "test_frames.h"

using kelvra::ChannelCounts;

namespace {

ChannelCounts count_plainly(const kelvra::Frame& f) {
    ChannelCounts c = {};
    for (int y = 0; y < f.height; ++y)
        for (int x = 0; x < f.width; ++x) {
            const uint32_t p = f.row(y)[x];
            ++c.r[(p >> 16) & 0xFF], ++c.g[(p >> 8) & 0xFF], ++c.b[p & 0xFF];
        }
    return c;
}

void expect_equal(const ChannelCounts& got, const ChannelCounts& want) {
    for (int v = 0; v < 256; ++v) {
        ASSERT_EQ(got.r[v], want.r[v]) << "red " << v;
        ASSERT_EQ(got.g[v], want.g[v]) << "green " << v;
        ASSERT_EQ(got.b[v], want.b[v]) << "blue " << v;
    }
}

kelvra::Levels random_levels(std::mt19937& rng) {
    auto pick = [&](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng); };
    kelvra::Levels l;
    for (int c = 0; c < 3; ++c) l.v[c] = pick(-300, 200), l.v[c + 3] = pick(-100, 600);
    return l;
}

}  // namespace

TEST(OverlayCounts, RemappedCountsAreTheCountsOfTheRemappedFrame) {
    std::mt19937 rng(8);
    for (int trial = 0; trial < 60; ++trial) {
        const int w = 1 + int(rng() % 90), h = 1 + int(rng() % 40);
        const Image src = natural_image(w, h, rng);
        HostBuffer in(src, Layout::Padded), out(Image(w, h), Layout::TopDown);
        const kelvra::RemapPlan plan = kelvra::plan_remap(random_levels(rng));
        const ChannelCounts source = count_plainly(in.frame);
        kelvra::remap_frame(in.frame, out.frame, plan);
        expect_equal(kelvra::remap_counts(source, plan.tables), count_plainly(out.frame));
    }
}

TEST(OverlayCounts, OutlineKeepsTheCountsOfWhatItPaints) {
    struct Offsets {
        int nup, nleft, nright, ndown;
    };
    // Ordinary rings, rings whose edges fall on one row or column (painted
    // twice), rings partly or wholly outside the frame.
    const Offsets cases[] = {
        {1, 1, 1, 1},     {4, 6, 3, 2},  {10, 1, 1, 11}, {1, 20, 21, 1}, {11, 9, 2, 1},
        {0, -3, 0, -5},   {60, 1, 1, 1}, {1, 1, 1, 60},  {1, 90, 1, 1},  {INT_MAX, 1, INT_MIN, 1},
        {20, 30, 30, 20}, {5, 40, 1, 5}};
    std::mt19937 rng(9);
    for (const Offsets& o : cases) {
        for (bool painted_before : {false, true}) {
            const int w = 40, h = 20;
            Image picture = natural_image(w, h, rng);
            if (painted_before) picture.at(w / 2, h / 2) = kelvra::kOutlineColour;
            HostBuffer with(picture, Layout::Padded), without(picture, Layout::Padded);
            kelvra::FilterData fd = open_dialog_record(w, h);
            fd.border = 1;
            fd.nup = o.nup, fd.nleft = o.nleft, fd.nright = o.nright, fd.ndown = o.ndown;
            const kelvra::Settings s = kelvra::snapshot_settings(fd);

            ChannelCounts counts = count_plainly(with.frame);
            kelvra::draw_outline(with.frame, s, &counts);
            kelvra::draw_outline(without.frame, s, nullptr);
            EXPECT_EQ(with.image().px, without.image().px) << "counting does not change the drawing";
            expect_equal(counts, count_plainly(with.frame));
        }
    }
}
