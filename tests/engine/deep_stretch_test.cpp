// SPDX-License-Identifier: GPL-2.0-or-later
// Deep pictures: the reduction the analysis sees, the stretch on 16-bit
// samples against an 80-bit floating-point evaluation of its formula (exact
// here: every numerator fits in 48 bits), its distance from the 8-bit
// stretch, and the overlay drawn at depth.
#include "stretch/deep_stretch.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <random>

#include "overlay/deep_overlay.h"
#include "overlay/overlay.h"
#include "stretch/remap.h"

using kelvra::DeepFrame;
using kelvra::Levels;

namespace {

struct Planes {
    std::vector<uint16_t> r, g, b;
    Planes(int w, int h, uint16_t fill) : r(size_t(w) * h, fill), g(r), b(r) {}
    DeepFrame frame(int w, int h) { return DeepFrame{r.data(), g.data(), b.data(), w, h}; }
};

int32_t expected_stretch(int32_t v, int32_t low, int32_t high) {
    if (high == low) return 0;
    const long double q = (v - 257.0L * low) * 255.0L / ((long double)high - low);
    const long double t = std::trunc(q);
    return t < 0 ? 0 : t > 65535 ? 65535 : int32_t(t);
}

}  // namespace

TEST(DeepReduction, RoundsToTheNearestByteAndKeepsWholeBytes) {
    for (int32_t v = 0; v < 65536; ++v) {
        const int32_t r = kelvra::reduce_sample(uint16_t(v));
        ASSERT_LE(std::abs(v - 257 * r), 128) << v;
    }
    for (int32_t x = 0; x < 256; ++x) EXPECT_EQ(kelvra::reduce_sample(uint16_t(257 * x)), x);
}

TEST(DeepStretch, EverySampleFollowsTheFormula) {
    const int32_t pairs[][2] = {{0, 255},      {20, 230},  {-30, 200}, {10, 400},      {200, 100},
                                {77, 77},      {254, 255}, {0, 1},     {-5000, 90000}, {INT32_MIN, INT32_MAX},
                                {INT32_MAX, 3}};
    for (const auto& p : pairs) {
        for (int32_t v = 0; v < 65536; ++v) {
            ASSERT_EQ(kelvra::deep_stretch_sample(uint16_t(v), p[0], p[1]), expected_stretch(v, p[0], p[1]))
                << "v " << v << ", levels " << p[0] << ".." << p[1];
        }
    }
    for (int32_t v = 0; v < 65536; v += 97) EXPECT_EQ(kelvra::deep_stretch_sample(uint16_t(v), 0, 255), v);
}

// The analysis sees round(v / 257), up to half a byte off the deep value, so
// the reduced deep result can differ from the 8-bit stretch by half the gain,
// plus one for the truncation on either side.
TEST(DeepStretch, ReducedResultStaysNearThe8BitStretch) {
    const Levels cases[] = {{{0, 0, 0, 255, 255, 255}},
                            {{12, 30, 3, 240, 220, 251}},
                            {{-8, 40, 90, 270, 200, 140}},
                            {{100, 0, 0, 130, 255, 255}}};
    for (const Levels& levels : cases) {
        const kelvra::RemapTables t = kelvra::plan_remap(levels).tables;
        const uint32_t* table[3] = {t.r, t.g, t.b};
        for (int c = 0; c < 3; ++c) {
            const int32_t low = levels.v[c], high = levels.v[c + 3];
            const int32_t bound = int32_t(std::ceil(255.0 / (high - low) / 2)) + 1;
            for (int32_t v = 0; v < 65536; ++v) {
                const int32_t x = kelvra::reduce_sample(uint16_t(v));
                const int32_t eight = int32_t(table[c][x] >> (16 - 8 * c) & 0xFF);
                const int32_t deep =
                    kelvra::reduce_sample(kelvra::deep_stretch_sample(uint16_t(v), low, high));
                ASSERT_LE(std::abs(deep - eight), bound) << "channel " << c << ", v " << v;
            }
        }
    }
}

TEST(DeepStretch, FramesGetTheirOwnLevelsWhenTheyChange) {
    const int w = 64, h = 32;
    std::mt19937 rng(5);
    kelvra::DeepStretch stretch;
    const Levels sequence[] = {{{10, 20, 30, 200, 210, 220}},
                               {{10, 20, 30, 200, 210, 220}},
                               {{0, 5, -9, 255, 300, 180}},
                               {{0, 0, 0, 255, 255, 255}}};
    for (const Levels& levels : sequence) {
        Planes planes(w, h, 0);
        for (auto* p : {&planes.r, &planes.g, &planes.b})
            for (uint16_t& s : *p) s = uint16_t(rng());
        const Planes before = planes;
        stretch.apply(levels, planes.frame(w, h));
        const std::vector<uint16_t>* in[3] = {&before.r, &before.g, &before.b};
        const std::vector<uint16_t>* out[3] = {&planes.r, &planes.g, &planes.b};
        for (int c = 0; c < 3; ++c) {
            for (size_t i = 0; i < out[c]->size(); ++i) {
                ASSERT_EQ((*out[c])[i], expected_stretch((*in[c])[i], levels.v[c], levels.v[c + 3]))
                    << "channel " << c << ", sample " << i;
            }
        }
    }
}

// The deep overlay is the 8-bit overlay at depth: wide and narrow pictures,
// bars that reach past the top.
TEST(DeepOverlay, ReducesToThe8BitOverlay) {
    kelvra::ChannelCounts counts;
    for (int k = 0; k < 256; ++k) counts.r[k] = 30 * k, counts.g[k] = 30 * (255 - k), counts.b[k] = 900;
    for (const auto& [w, h] : {std::pair{400, 300}, std::pair{120, 200}}) {
        const uint16_t background = 1234;
        std::vector<uint32_t> eight(size_t(w) * h, 0);
        kelvra::draw_overlay(kelvra::Frame{eight.data(), w, h, ptrdiff_t{w} * 4}, counts);
        Planes planes(w, h, background);
        kelvra::DeepOverlay overlay(w, h);
        overlay.draw(planes.frame(w, h), counts);
        // The 8-bit buffer is bottom-up, the planes top-down.
        for (int y = 0; y < h; ++y) {
            for (int x = 0; x < w; ++x) {
                const uint32_t p = eight[size_t(h - 1 - y) * w + x];
                const size_t i = size_t(y) * w + x;
                const uint32_t r = p ? (p >> 16 & 0xFF) * 257 : background;
                const uint32_t g = p ? (p >> 8 & 0xFF) * 257 : background;
                const uint32_t b = p ? (p & 0xFF) * 257 : background;
                ASSERT_EQ(planes.r[i], r) << x << "," << y;
                ASSERT_EQ(planes.g[i], g) << x << "," << y;
                ASSERT_EQ(planes.b[i], b) << x << "," << y;
            }
        }
    }
}
