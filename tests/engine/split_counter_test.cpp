// SPDX-License-Identifier: GPL-2.0-or-later
// Counting with split tables against one SetRGB per pixel: rows of every
// length, added to counts and to a histogram that already hold something.
#include "plugin/split_counter.h"

#include <gtest/gtest.h>

#include <cstring>
#include <random>
#include <vector>

#include "plugin/gisto.h"

using kelvra::ChannelCounts;

namespace {

using Rows = std::vector<std::vector<uint32_t>>;

Rows random_rows(std::mt19937& rng, int count, int max_width, uint32_t mask) {
    Rows rows(count);
    for (auto& row : rows) {
        row.resize(rng() % (max_width + 1));
        for (uint32_t& p : row) p = rng() & mask;
    }
    return rows;
}

ChannelCounts random_counts(std::mt19937& rng) {
    ChannelCounts c;
    for (int v = 0; v < 256; ++v) c.r[v] = rng() % 1000, c.g[v] = rng() % 1000, c.b[v] = rng() % 1000;
    return c;
}

void expect_same_as_setrgb(const Rows& rows, const ChannelCounts& before) {
    kelvra::gisto reference;
    reference.AddCounts(before.r, before.g, before.b);
    kelvra::SplitCounter counter;
    for (const auto& row : rows) {
        for (uint32_t p : row) reference.SetRGB((p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF);
        counter.add_row(row.data(), int32_t(row.size()));
    }
    ChannelCounts counts = before;
    counter.add_to(counts);
    kelvra::gisto hist;
    hist.AddCounts(before.r, before.g, before.b);
    counter.add_to(hist);
    for (int v = 0; v < 256; ++v) {
        ASSERT_EQ(counts.r[v], reference.GetGisR(v)) << "red " << v;
        ASSERT_EQ(counts.g[v], reference.GetGisG(v)) << "green " << v;
        ASSERT_EQ(counts.b[v], reference.GetGisB(v)) << "blue " << v;
        ASSERT_EQ(hist.GetGisR(v), reference.GetGisR(v)) << "histogram red " << v;
        ASSERT_EQ(hist.GetGisG(v), reference.GetGisG(v)) << "histogram green " << v;
        ASSERT_EQ(hist.GetGisB(v), reference.GetGisB(v)) << "histogram blue " << v;
    }
}

}  // namespace

TEST(SplitCounter, AddsEveryPixelOnceToExistingCounts) {
    std::mt19937 rng(31);
    for (int trial = 0; trial < 300; ++trial) {
        // Narrow value ranges make neighbours share bins, as in real pictures.
        const uint32_t mask = trial % 3 == 0 ? 0xFF030303u : 0xFFFFFFFFu;
        expect_same_as_setrgb(random_rows(rng, int(rng() % 7), 40, mask), random_counts(rng));
    }
}

TEST(SplitCounter, OneValueEverywherePilesIntoOneBin) {
    const std::vector<uint32_t> row(1001, 0x7F10FE20);
    kelvra::SplitCounter counter;
    for (int y = 0; y < 3; ++y) counter.add_row(row.data(), 1001);
    ChannelCounts counts;
    std::memset(&counts, 0, sizeof counts);
    counter.add_to(counts);
    EXPECT_EQ(counts.r[0x10], 3003);
    EXPECT_EQ(counts.g[0xFE], 3003);
    EXPECT_EQ(counts.b[0x20], 3003);
    int total = 0;
    for (int v = 0; v < 256; ++v) total += counts.r[v] + counts.g[v] + counts.b[v];
    EXPECT_EQ(total, 3 * 3003);
}

TEST(SplitCounter, WideRowsOfNaturalSpread) {
    std::mt19937 rng(5);
    ChannelCounts zero;
    std::memset(&zero, 0, sizeof zero);
    expect_same_as_setrgb(random_rows(rng, 5, 1931, 0xFF3F7FFF), zero);
}
