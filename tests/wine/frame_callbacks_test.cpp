// SPDX-License-Identifier: GPL-2.0-or-later
// InitProc, StartProc and RunProc through the definition, on the worked
// frames and on the buffers real hosts hand in.
#include <algorithm>
#include <cstring>
#include <vector>

#include "check.h"
#include "host_bitmap.h"
#include "plain_filter.h"
#include "plugin_host.h"

namespace {

void check_defaults(kelvra::FilterData& fd, int w, int h) {
    CHECK_EQ(fd.level, 25);
    CHECK_EQ(fd.border, 0);
    CHECK_EQ(fd.disable, 0);
    CHECK_EQ(fd.dialog_closed, 1);
    CHECK_EQ(fd.show_histogram, 0);
    CHECK_EQ(fd.soft, 0);
    CHECK_EQ(fd.freeze, 0);
    CHECK(fd.nup == 1 && fd.nleft == 1 && fd.nright == 1 && fd.ndown == 1);
    for (int c = 0; c < 3; ++c) {
        CHECK(fd.current[c] == 0 && fd.current[c + 3] == 255);
        for (int age = 0; age < 5; ++age) CHECK(fd.history[c][age] == 0 && fd.history[c + 3][age] == 255);
    }
    CHECK_EQ(fd.frame_height, h);
    CHECK_EQ(fd.frame_width, w);
}

// Column x holds 40 + 2x in red and green and min(255, 60 + 2x) in blue.
Image blue_cast() {
    return make_image(100, 50, [](int x, int) {
        const uint32_t rg = 40 + 2 * x, b = std::min(255, 60 + 2 * x);
        return (rg << 16) | (rg << 8) | b;
    });
}

constexpr int kCastColumn = 50;  // 0x8C8CA0

// Runs the instance's RunProc on `src`; returns the destination picture.
Image run_on(Instance& inst, const Image& src) {
    HostBitmap in(src), out(src.w, src.h, RowLayout::Contiguous);
    inst.src = in.bitmap;
    inst.dst = out.bitmap;
    CHECK_EQ(inst.run(), 0);
    return out.image();
}

std::vector<int> current_of(const kelvra::FilterData& fd) {
    return std::vector<int>(fd.current, fd.current + 6);
}

uint32_t stretch(uint32_t pixel, const int (&low)[3], const int (&high)[3]) {
    uint32_t out = 0;
    for (int c = 0; c < 3; ++c) {
        const int v = (pixel >> (16 - 8 * c)) & 0xFF;
        const int s = int(double(v - low[c]) * (255.0 / (double(high[c]) - double(low[c]))));
        out |= uint32_t(std::clamp(s, 0, 255)) << (16 - 8 * c);
    }
    return out;
}

}  // namespace

TEST_CASE(init_sets_defaults_on_720_by_576) {
    Instance inst;
    inst.set_size(720, 576);
    CHECK_EQ(inst.init(), 0);
    check_defaults(inst.record(), 720, 576);
    CHECK(inst.guard_intact());
}

TEST_CASE(init_before_the_bitmaps_are_filled) {
    Instance inst;  // a frame server's zeroed bitmaps: width and height 0
    CHECK_EQ(inst.init(), 0);
    check_defaults(inst.record(), 0, 0);
    inst.set_size(321, 240);
    CHECK_EQ(inst.start(), 0);
    CHECK_EQ(inst.record().frame_width, 321);
    CHECK_EQ(inst.record().frame_height, 240);
}

TEST_CASE(start_takes_the_new_size_and_nothing_else) {
    Instance inst;
    inst.set_size(720, 576);
    inst.init();
    kelvra::FilterData& fd = inst.record();
    fd.level = 77;
    fd.soft = 1;
    fd.nup = 9;
    fd.history[2][3] = 42;
    const kelvra::FilterData before = fd;
    inst.set_size(640, 480);
    CHECK_EQ(inst.start(), 0);
    CHECK_EQ(fd.frame_height, 480);
    CHECK_EQ(fd.frame_width, 640);
    kelvra::FilterData expected = before;
    expected.frame_height = 480;
    expected.frame_width = 640;
    CHECK(std::memcmp(&expected, &fd, sizeof fd) == 0);
}

TEST_CASE(run_pulls_a_blue_cast_back_with_the_dialog_open) {
    Instance inst;
    inst.set_size(100, 50);
    inst.init();
    inst.record().dialog_closed = 0;
    const Image out = run_on(inst, blue_cast());
    CHECK(current_of(inst.record()) == std::vector<int>({4, 4, 11, 245, 245, 259}));
    CHECK_EQ(out.at(kCastColumn, 7), 0x8F8F99u);
    CHECK_EQ(out.at(kCastColumn, 49), 0x8F8F99u);
}

TEST_CASE(run_blue_cast_with_soft) {
    Instance inst;
    inst.set_size(100, 50);
    inst.init();
    inst.record().dialog_closed = 0;
    inst.record().soft = 1;
    const Image out = run_on(inst, blue_cast());
    CHECK(current_of(inst.record()) == std::vector<int>({-5, -5, 2, 257, 257, 271}));
    CHECK_EQ(out.at(kCastColumn, 0), 0x8D8D95u);
}

TEST_CASE(run_averages_the_first_closed_frame_with_the_defaults) {
    Instance inst;
    inst.set_size(100, 50);
    inst.init();  // dialog_closed 1
    const Image src = blue_cast();
    const Image out = run_on(inst, src);
    // This frame's 4, 4, 11, 245, 245, 259 with four default entries:
    // lows truncate(low / 5), highs truncate((high + 1020) / 5).
    const int low[3] = {0, 0, 2}, high[3] = {253, 253, 255};
    for (int x = 0; x < 100; x += 7) CHECK_EQ(out.at(x, 3), stretch(src.at(x, 3), low, high));
    CHECK_EQ(out.at(kCastColumn, 0), 0x8D8D9Fu);
    CHECK_EQ(inst.record().history[2][0], 11);
    CHECK_EQ(inst.record().history[5][0], 259);
    CHECK_EQ(inst.record().history[2][1], 0);
    CHECK_EQ(inst.record().history[5][1], 255);
}

// A frame server's bitmaps: depth 0 and rows padded to 64 bytes.
TEST_CASE(run_on_padded_rows_with_depth_0) {
    std::mt19937 rng(321);
    const Image src = natural_image(321, 37, rng);
    Instance inst;
    inst.init();
    HostBitmap in(src, RowLayout::Padded64, 0), out(321, 37, RowLayout::Padded64, 0);
    CHECK_EQ(in.bitmap.pitch, ptrdiff_t(1344));
    CHECK_EQ(in.bitmap.modulo, ptrdiff_t(60));
    inst.src = in.bitmap;
    inst.dst = out.bitmap;
    kelvra::FilterData oracle = inst.record();
    CHECK_EQ(inst.start(), 0);
    oracle.frame_height = 37;
    oracle.frame_width = 321;
    for (int frame = 0; frame < 3; ++frame) {
        CHECK_EQ(inst.run(), 0);
        std::vector<uint32_t> want(src.px.size());
        plain::frame_pass(oracle, src.px, want, src.w, src.h);
        CHECK(out.image().px == want);
        CHECK(out.padding_intact());
    }
    CHECK(in.image().px == src.px);
}
