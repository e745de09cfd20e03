// SPDX-License-Identifier: GPL-2.0-or-later
// Row kernels of the stretch: the plain one against the double formula, the
// vector twins against the plain one and against the lane model, for every
// channel value, row lengths around the vector widths, and in place.
#include "stretch/remap_kernels.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <vector>

#include "base/x86_arith.h"

using kelvra::Levels;
using kelvra::RemapPlan;

namespace {

using RowKernel = void (*)(const uint32_t*, uint32_t*, int32_t, const RemapPlan&);

struct Twin {
    const char* name;
    RowKernel kernel;
};

std::vector<Twin> vector_twins() {
    std::vector<Twin> twins = {{"sse2", kelvra::remap_row_sse2}};
#if KELVRA_AVX2
    if (__builtin_cpu_supports("avx2")) twins.push_back({"avx2", kelvra::remap_row_avx2});
#endif
    return twins;
}

uint32_t exact_pixel(uint32_t p, const Levels& l) {
    uint32_t out = 0;
    for (int c = 0; c < 3; ++c) {
        const int v = (p >> (16 - 8 * c)) & 0xFF;
        const double scale = 255.0 / (double(l.v[c + 3]) - double(l.v[c]));
        const int s = std::clamp(kelvra::trunc_to_int(double(kelvra::wrap_sub(v, l.v[c])) * scale), 0, 255);
        out |= uint32_t(s) << (16 - 8 * c);
    }
    return out;
}

// Every value of every channel, in shuffled combinations, with a random top
// byte the stretch must drop.
std::vector<uint32_t> all_values_row(std::mt19937& rng, int width) {
    std::vector<uint32_t> row(width);
    std::vector<int> r(256), g(256), b(256);
    for (int v = 0; v < 256; ++v) r[v] = g[v] = b[v] = v;
    for (int x = 0; x < width; ++x) {
        if (x % 256 == 0) {
            std::shuffle(r.begin(), r.end(), rng);
            std::shuffle(g.begin(), g.end(), rng);
            std::shuffle(b.begin(), b.end(), rng);
        }
        const int i = x % 256;
        row[x] = (rng() & 0xFF000000u) | uint32_t(r[i]) << 16 | uint32_t(g[i]) << 8 | uint32_t(b[i]);
    }
    return row;
}

Levels random_levels(std::mt19937& rng, bool realistic) {
    auto pick = [&](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng); };
    Levels l;
    for (int c = 0; c < 3; ++c) {
        l.v[c] = realistic ? pick(-60, 130) : pick(-400, 400);
        l.v[c + 3] = realistic ? pick(128, 330) : pick(-400, 700);
    }
    return l;
}

}  // namespace

TEST(RemapKernels, PlainKernelGivesTheDoubleFormula) {
    std::mt19937 rng(1);
    for (int trial = 0; trial < 200; ++trial) {
        const Levels levels = random_levels(rng, trial % 2);
        const RemapPlan plan = kelvra::plan_remap(levels);
        const std::vector<uint32_t> in = all_values_row(rng, 512);
        std::vector<uint32_t> out(in.size());
        kelvra::remap_row_c(in.data(), out.data(), int32_t(in.size()), plan);
        for (size_t x = 0; x < in.size(); ++x)
            ASSERT_EQ(out[x], exact_pixel(in[x], levels)) << trial << " " << x;
    }
}

TEST(RemapKernels, VectorTwinsEqualThePlainKernelWherePlanned) {
    std::mt19937 rng(2);
    int vector_plans = 0;
    for (int trial = 0; trial < 300; ++trial) {
        const RemapPlan plan = kelvra::plan_remap(random_levels(rng, trial % 3 != 0));
        if (!plan.lanes_exact) continue;
        ++vector_plans;
        for (int width : {0, 1, 3, 4, 5, 7, 8, 9, 15, 17, 256, 259, 1031}) {
            const std::vector<uint32_t> in = all_values_row(rng, width + 1);
            std::vector<uint32_t> want(in.size());
            kelvra::remap_row_c(in.data() + 1, want.data() + 1, width, plan);  // unaligned
            for (const Twin& twin : vector_twins()) {
                std::vector<uint32_t> out(in.size(), 0xDEADBEEF);
                twin.kernel(in.data() + 1, out.data() + 1, width, plan);
                EXPECT_EQ(out[0], 0xDEADBEEFu) << twin.name;
                ASSERT_TRUE(std::equal(want.begin() + 1, want.end(), out.begin() + 1))
                    << twin.name << " " << width;
                std::vector<uint32_t> same = in;
                twin.kernel(same.data() + 1, same.data() + 1, width, plan);
                ASSERT_TRUE(std::equal(want.begin() + 1, want.end(), same.begin() + 1))
                    << twin.name << " in place";
            }
        }
    }
    EXPECT_GT(vector_plans, 150);
}

// The fit trusts lane_value to say what the vectors compute: check that for
// arbitrary lane constants in the range the fit uses.
TEST(RemapKernels, VectorTwinsComputeTheLaneModel) {
    std::mt19937 rng(3);
    for (int trial = 0; trial < 400; ++trial) {
        RemapPlan plan = kelvra::plan_remap(Levels{{0, 0, 0, 255, 255, 255}});
        for (int lane = 0; lane < 4; ++lane) {
            plan.lanes.bias[lane] = uint16_t(1 + rng() % 511);
            plan.lanes.whole[lane] = uint16_t(trial % 2 ? rng() % 64 : rng());
            plan.lanes.frac[lane] = uint16_t(rng());
        }
        const std::vector<uint32_t> in = all_values_row(rng, 256);
        for (const Twin& twin : vector_twins()) {
            std::vector<uint32_t> out(in.size());
            twin.kernel(in.data(), out.data(), 256, plan);
            for (size_t x = 0; x < in.size(); ++x) {
                for (int lane = 0; lane < 4; ++lane) {
                    const int v = (in[x] >> (8 * lane)) & 0xFF;
                    ASSERT_EQ((out[x] >> (8 * lane)) & 0xFF, kelvra::lane_value(plan.lanes, lane, v))
                        << twin.name << " lane " << lane << " byte " << v;
                }
            }
        }
    }
}
