// SPDX-License-Identifier: GPL-2.0-or-later
// Histogram analysis on the worked cases: starts, ends, clip and medians.
#include "plugin/gisto.h"

#include <gtest/gtest.h>

#include "base/x86_arith.h"

using kelvra::gisto;

namespace {

gisto analysed(int n, int r, int g, int b, int threshold) {
    gisto h;
    h.SetLevel(25);
    h.SetCadrov(n);
    h.SetLevel_k(threshold);
    for (int i = 0; i < n; ++i) h.SetRGB(r, g, b);
    h.starting();
    return h;
}

void expect_all(const gisto& h, int start, int end, int median) {
    EXPECT_EQ(h.GetStartR(), start);
    EXPECT_EQ(h.GetStartG(), start);
    EXPECT_EQ(h.GetStartB(), start);
    EXPECT_EQ(h.GetEndR(), end);
    EXPECT_EQ(h.GetEndG(), end);
    EXPECT_EQ(h.GetEndB(), end);
    EXPECT_EQ(h.GetSredR(), median);
    EXPECT_EQ(h.GetSredG(), median);
    EXPECT_EQ(h.GetSredB(), median);
}

}  // namespace

TEST(HistogramAnalysis, UniformGreys) {
    const int threshold = kelvra::trunc_to_int(10000 * 0.0066);
    EXPECT_EQ(threshold, 66);

    gisto g128 = analysed(10000, 128, 128, 128, threshold);
    expect_all(g128, 126, 130, 128);
    for (int i = 0; i < 256; ++i) EXPECT_EQ(g128.GetGisR_S(i), i >= 126 && i <= 130 ? 1250 : 0) << i;

    expect_all(analysed(10000, 100, 100, 100, threshold), 98, 128, 100);
    expect_all(analysed(10000, 200, 200, 200, threshold), 127, 202, 200);
}

TEST(HistogramAnalysis, EmptyHistogram) {
    gisto zero_threshold = analysed(0, 0, 0, 0, 0);
    EXPECT_EQ(zero_threshold.GetStartR(), 1);
    EXPECT_EQ(zero_threshold.GetEndB(), 254);
    // No median qualifies: nothing was counted, so the middle bin stands in.
    EXPECT_EQ(zero_threshold.GetSredR(), 128);
    EXPECT_EQ(zero_threshold.GetSredB(), 128);

    gisto threshold5 = analysed(0, 0, 0, 0, 5);
    EXPECT_EQ(threshold5.GetStartG(), 127);
    EXPECT_EQ(threshold5.GetEndG(), 128);
}

TEST(HistogramAnalysis, BlackAndWhite) {
    gisto h;
    h.SetLevel(25);
    h.SetLevel_k(66);
    for (int i = 0; i < 5000; ++i) h.SetRGB(0, 0, 0), h.SetRGB(255, 255, 255);
    h.starting();
    expect_all(h, 1, 254, 253);
    // Clip 1875 caps bin 0 (3000) and bin 255.
    EXPECT_EQ(h.GetGisR_S(0), 1875);
    EXPECT_EQ(h.GetGisR_S(1), 1875);
    EXPECT_EQ(h.GetGisR_S(2), 1000);
    EXPECT_EQ(h.GetGisG_S(255), 1875);
}

TEST(HistogramAnalysis, NegativeEndBinShiftsMedian) {
    gisto h = analysed(100, 4, 4, 4, 0);
    EXPECT_EQ(h.GetGisR_S(0), -20);
    EXPECT_EQ(h.GetGisR_S(1), 0);
    for (int i = 2; i <= 6; ++i) EXPECT_EQ(h.GetGisB_S(i), 12);
    expect_all(h, 1, 254, 5);
}

TEST(HistogramAnalysis, ChannelWithoutMedianFallsBackToRawMedian) {
    gisto h;
    h.SetLevel(25);
    h.SetLevel_k(kelvra::trunc_to_int(10240 * 0.0066));
    for (int v = 0; v < 256; ++v)
        for (int i = 0; i < 40; ++i) h.SetRGB(4, v, v);
    h.starting();
    EXPECT_EQ(h.GetGisR_S(0), -2048);
    EXPECT_EQ(h.GetEndR(), 128);
    EXPECT_EQ(h.GetStartG(), 2);
    EXPECT_EQ(h.GetEndB(), 253);
    EXPECT_EQ(h.GetSredG(), 128);
    EXPECT_EQ(h.GetSredB(), 128);
    // The clipped red total is negative; the raw red counts all sit at 4.
    EXPECT_EQ(h.GetSredR(), 4);
}

TEST(HistogramAnalysis, SinglePixel) {
    gisto h = analysed(1, 30, 90, 200, 0);
    for (int i = 0; i < 256; ++i) EXPECT_EQ(h.GetGisR_S(i), 0);
    EXPECT_EQ(h.GetStartR(), 1);
    EXPECT_EQ(h.GetEndR(), 254);
    EXPECT_EQ(h.GetSredR(), 30);
    EXPECT_EQ(h.GetSredG(), 90);
    EXPECT_EQ(h.GetSredB(), 200);
}

TEST(HistogramAnalysis, BulkCountsEqualPixelCounts) {
    int r[256] = {}, g[256] = {}, b[256] = {};
    gisto one_by_one, bulk;
    for (int i = 0; i < 3000; ++i) {
        const int v = (i * 37) % 256, w = (i * 11) % 200, u = (i * i) % 256;
        one_by_one.SetRGB(v, w, u);
        ++r[v], ++g[w], ++b[u];
    }
    bulk.AddCounts(r, g, b);
    for (int i = 0; i < 256; ++i) {
        EXPECT_EQ(bulk.GetGisR(i), one_by_one.GetGisR(i));
        EXPECT_EQ(bulk.GetGisG(i), one_by_one.GetGisG(i));
        EXPECT_EQ(bulk.GetGisB(i), one_by_one.GetGisB(i));
    }
}
