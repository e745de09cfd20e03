// Counting kernels: the split tables against one SetRGB per pixel, on blocks
// of every shape, in padded and top-down buffers.
#include "count_kernels.h"

#include <gtest/gtest.h>

#include <cstring>
#include <random>
#include <vector>

#include "gisto.h"

using kelvra::ChannelCounts;

namespace {

using Kernel = void (*)(const uint32_t*, ptrdiff_t, int32_t, int32_t, ChannelCounts&);

// h rows of `stride` random pixels (top byte too), for a block up to stride
// wide; bottom-up or top-down.
struct Block {
    std::vector<uint32_t> storage;
    const uint32_t* first;
    ptrdiff_t pitch;
};

Block random_block(std::mt19937& rng, int h, int stride, bool top_down, uint32_t mask) {
    Block b;
    b.storage.resize(size_t(stride) * std::max(h, 1));
    for (uint32_t& p : b.storage) p = rng() & mask;
    b.pitch = ptrdiff_t(stride) * 4;
    b.first = b.storage.data();
    if (top_down && h > 0) {
        b.first += size_t(stride) * (h - 1);
        b.pitch = -b.pitch;
    }
    return b;
}

void expect_same_as_setrgb(const Block& b, int w, int h, Kernel kernel, const ChannelCounts& before) {
    kelvra::gisto reference;
    reference.AddCounts(before.r, before.g, before.b);
    for (int y = 0; y < h; ++y) {
        const uint32_t* row =
            reinterpret_cast<const uint32_t*>(reinterpret_cast<const char*>(b.first) + y * b.pitch);
        for (int x = 0; x < w; ++x)
            reference.SetRGB((row[x] >> 16) & 0xFF, (row[x] >> 8) & 0xFF, row[x] & 0xFF);
    }
    ChannelCounts counts = before;
    kernel(b.first, b.pitch, w, h, counts);
    for (int v = 0; v < 256; ++v) {
        ASSERT_EQ(counts.r[v], reference.GetGisR(v)) << "red " << v << " in " << w << "x" << h;
        ASSERT_EQ(counts.g[v], reference.GetGisG(v)) << "green " << v;
        ASSERT_EQ(counts.b[v], reference.GetGisB(v)) << "blue " << v;
    }
}

ChannelCounts random_counts(std::mt19937& rng) {
    ChannelCounts c;
    for (int v = 0; v < 256; ++v) c.r[v] = rng() % 1000, c.g[v] = rng() % 1000, c.b[v] = rng() % 1000;
    return c;
}

}  // namespace

TEST(CountKernels, BothAddEveryPixelOnceToExistingCounts) {
    std::mt19937 rng(31);
    for (int trial = 0; trial < 300; ++trial) {
        const int w = int(rng() % 40), h = int(rng() % 7);
        const int stride = w + int(rng() % 5);
        // Narrow value ranges make neighbours share bins, as in real pictures.
        const uint32_t mask = trial % 3 == 0 ? 0xFF030303u : 0xFFFFFFFFu;
        const Block b = random_block(rng, h, stride, trial % 2, mask);
        const ChannelCounts before = random_counts(rng);
        expect_same_as_setrgb(b, w, h, kelvra::count_block_c, before);
        expect_same_as_setrgb(b, w, h, kelvra::count_block_split, before);
    }
}

TEST(CountKernels, OneValueEverywherePilesIntoOneBin) {
    std::vector<uint32_t> px(1001 * 3, 0x7F10FE20);
    ChannelCounts counts;
    std::memset(&counts, 0, sizeof counts);
    kelvra::count_block_split(px.data(), 1001 * 4, 1001, 3, counts);
    EXPECT_EQ(counts.r[0x10], 3003);
    EXPECT_EQ(counts.g[0xFE], 3003);
    EXPECT_EQ(counts.b[0x20], 3003);
    int total = 0;
    for (int v = 0; v < 256; ++v) total += counts.r[v] + counts.g[v] + counts.b[v];
    EXPECT_EQ(total, 3 * 3003);
}

TEST(CountKernels, WideFrameOfNaturalSpread) {
    std::mt19937 rng(5);
    const Block b = random_block(rng, 5, 1931, false, 0xFF3F7FFF);
    ChannelCounts zero;
    std::memset(&zero, 0, sizeof zero);
    expect_same_as_setrgb(b, 1923, 5, kelvra::count_block_split, zero);
}
