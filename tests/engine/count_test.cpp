// SPDX-License-Identifier: GPL-2.0-or-later
// Counting the source: the analysis region into the histogram and, for the
// overlay, the whole frame, for offsets inside, at and beyond the frame's
// edges.
#include "plugin/count.h"

#include <gtest/gtest.h>

#include <climits>

#include "base/region.h"
#include "test_frames.h"

namespace {

struct Offsets {
    int nup, nleft, nright, ndown;
};

kelvra::Settings bordered(const Offsets& o) {
    kelvra::FilterData fd = fresh_record();
    fd.border = 1;
    fd.nup = o.nup, fd.nleft = o.nleft, fd.nright = o.nright, fd.ndown = o.ndown;
    return kelvra::snapshot_settings(fd);
}

// Plain counts of the pixels with x0 <= x <= x1 and y0 <= y <= y1.
kelvra::gisto count_box(const Image& img, long long x0, long long x1, long long y0, long long y1) {
    kelvra::gisto h;
    for (int y = 0; y < img.h; ++y)
        for (int x = 0; x < img.w; ++x)
            if (x >= x0 && x <= x1 && y >= y0 && y <= y1) {
                const uint32_t p = img.at(x, y);
                h.SetRGB((p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF);
            }
    return h;
}

void expect_counts(const kelvra::gisto& got, const kelvra::gisto& want) {
    for (int v = 0; v < 256; ++v) {
        ASSERT_EQ(got.GetGisR(v), want.GetGisR(v)) << v;
        ASSERT_EQ(got.GetGisG(v), want.GetGisG(v)) << v;
        ASSERT_EQ(got.GetGisB(v), want.GetGisB(v)) << v;
    }
}

void expect_counts(const kelvra::ChannelCounts& got, const kelvra::gisto& want) {
    for (int v = 0; v < 256; ++v) {
        ASSERT_EQ(got.r[v], want.GetGisR(v)) << v;
        ASSERT_EQ(got.g[v], want.GetGisG(v)) << v;
        ASSERT_EQ(got.b[v], want.GetGisB(v)) << v;
    }
}

const Offsets kOffsets[] = {
    {1, 1, 1, 1},
    {5, 3, 7, 2},
    {1, 1, 1, 30},
    {30, 1, 1, 1},
    {1, 40, 1, 1},
    {1, 1, 40, 1},
    {12, 20, 20, 12},
    {0, 0, 0, 0},
    {-4, -9, -2, -7},
    {500, 1, 1, 1},
    {1, 900, 1, 1},
    {INT_MAX, 1, INT_MIN, 1},
    {INT_MIN, INT_MIN, INT_MIN, INT_MIN},
    {13, 1, 1, 13},
};

}  // namespace

TEST(Counting, RegionAndWholeFrameMatchPlainCounts) {
    std::mt19937 rng(12);
    for (Layout layout : {Layout::Contiguous, Layout::Padded, Layout::TopDown}) {
        for (const Offsets& o : kOffsets) {
            const int w = 1 + int(rng() % 53), h = 1 + int(rng() % 27);
            const Image src = natural_image(w, h, rng);
            const HostBuffer buf(src, layout);
            const kelvra::Settings s = bordered(o);
            const kelvra::Region region = kelvra::analysis_region(s, w, h);

            const kelvra::gisto want =
                count_box(src, o.nleft - 1LL, w - 1LL - o.nright, o.ndown - 1LL, h - 1LL - o.nup);
            kelvra::gisto hist, hist_alone;
            kelvra::ChannelCounts whole;
            kelvra::count_source(buf.frame, region, hist, &whole);
            kelvra::count_source(buf.frame, region, hist_alone, nullptr);
            expect_counts(hist, want);
            expect_counts(hist_alone, want);
            expect_counts(whole, count_box(src, 0, w - 1, 0, h - 1));
        }
    }
}

TEST(Counting, WholeFrameWithoutBorderIsTheRegion) {
    std::mt19937 rng(3);
    const Image src = natural_image(37, 19, rng);
    const HostBuffer buf(src, Layout::Padded);
    const kelvra::Settings s = kelvra::snapshot_settings(fresh_record(37, 19));
    const kelvra::Region region = kelvra::analysis_region(s, 37, 19);
    kelvra::gisto hist;
    kelvra::ChannelCounts whole;
    kelvra::count_source(buf.frame, region, hist, &whole);
    const kelvra::gisto want = count_box(src, 0, 36, 0, 18);
    expect_counts(hist, want);
    expect_counts(whole, want);
}
