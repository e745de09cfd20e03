// SPDX-License-Identifier: GPL-2.0-or-later
// Settings a script line can store and frames of any size: the pass stays
// inside both buffers, its results stay defined, and it matches the plain
// implementation. Run under the sanitizer configuration.
#include <gtest/gtest.h>

#include <climits>

#include "pass/frame_pass.h"
#include "plain_filter.h"
#include "test_frames.h"

namespace {

struct Case {
    int level, nup, nleft, nright, ndown;
};

const Case kBadSettings[] = {
    {0, 1, 1, 1, 1},
    {-1, 1, 1, 1, 1},
    {-40, 1, 1, 1, 1},
    {INT_MIN, 1, 1, 1, 1},
    {25, 0, 0, 0, 0},
    {25, -5, -3, -7, -2},
    {25, 500, 1, 1, 1},
    {25, 1, 900, 1, 1},
    {25, INT_MIN, INT_MIN, INT_MIN, INT_MIN},
    {25, INT_MAX, INT_MAX, INT_MAX, INT_MAX},
    {25, INT_MAX, 1, INT_MIN, 1},
    {25, 40, 30, 30, 40},
    {25, 45, 1, 1, 45},
    {INT_MAX, 1, 60, 1, 1},
};

void run_and_compare(const Image& src, kelvra::FilterData& fd, kelvra::FilterData& oracle, Layout layout) {
    HostBuffer in(src, layout), out(Image(src.w, src.h, 0x12345678), layout);
    kelvra::run_frame_pass(fd, in.frame, out.frame);
    std::vector<uint32_t> want(src.px.size());
    plain::frame_pass(oracle, src.px, want, src.w, src.h);
    ASSERT_TRUE(out.padding_intact());
    ASSERT_EQ(out.image().px, want);
    ASSERT_EQ(in.image().px, src.px) << "the source is read only";
}

}  // namespace

TEST(BadSettings, StayInsideTheFramesAndMatchThePlainPass) {
    std::mt19937 rng(21);
    const int sizes[][2] = {{1, 1}, {2, 1}, {1, 3}, {7, 5}, {80, 64}, {360, 100}};
    for (const auto& size : sizes) {
        const Image src = natural_image(size[0], size[1], rng);
        for (const Case& c : kBadSettings) {
            for (int flags = 0; flags < 8; ++flags) {
                kelvra::FilterData fd = fresh_record(size[0], size[1]);
                fd.level = c.level;
                fd.nup = c.nup, fd.nleft = c.nleft, fd.nright = c.nright, fd.ndown = c.ndown;
                fd.border = 1;
                fd.dialog_closed = flags & 1;
                fd.show_histogram = (flags >> 1) & 1;
                fd.soft = (flags >> 2) & 1;
                kelvra::FilterData oracle = fd;
                for (int frame = 0; frame < 2; ++frame)
                    run_and_compare(src, fd, oracle, frame ? Layout::Padded : Layout::TopDown);
            }
        }
    }
}

TEST(BadSettings, LevelZeroLeavesThePictureUncorrected) {
    std::mt19937 rng(4);
    const Image src = natural_image(64, 40, rng);
    kelvra::FilterData fd = open_dialog_record(64, 40);
    fd.level = 0;
    Image out = run_engine(fd, src);
    EXPECT_EQ(std::vector<int>(fd.current, fd.current + 6), (std::vector<int>{0, 0, 0, 255, 255, 255}));
    for (size_t i = 0; i < src.px.size(); ++i) ASSERT_EQ(out.px[i], src.px[i] & 0xFFFFFF);
}

TEST(BadSettings, HighEqualToLowBlanksTheChannel) {
    kelvra::FilterData fd = open_dialog_record(30, 20);
    const int levels[6] = {100, 0, 0, 100, 255, 255};
    std::copy(levels, levels + 6, fd.current);
    fd.freeze = 1;
    std::mt19937 rng(8);
    const Image src = natural_image(30, 20, rng);
    Image out = run_engine(fd, src);
    for (size_t i = 0; i < src.px.size(); ++i) {
        ASSERT_EQ(out.px[i] & 0xFF0000, 0u);
        ASSERT_EQ(out.px[i] & 0xFFFF, src.px[i] & 0xFFFF);
    }
}
