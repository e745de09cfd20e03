// SPDX-License-Identifier: GPL-2.0-or-later
// The engine against the plain implementation over many seeded frames and
// settings sequences, and the same picture from every buffer layout.
#include <gtest/gtest.h>

#include "pass/frame_pass.h"
#include "plain_filter.h"
#include "test_frames.h"

TEST(Differential, EngineMatchesPlainImplementation) {
    std::mt19937 rng(2024);
    for (int sequence = 0; sequence < 60; ++sequence) {
        const int w = std::uniform_int_distribution<int>(1, 420)(rng);
        const int h = std::uniform_int_distribution<int>(1, 160)(rng);
        kelvra::FilterData fd = fresh_record(w, h);
        kelvra::FilterData oracle = fd;
        for (int frame = 0; frame < 4; ++frame) {
            randomize_settings(fd, rng, w, h);
            kelvra::FilterData settings_only = fd;
            std::copy(&oracle.history[0][0], &oracle.history[0][0] + 30, &settings_only.history[0][0]);
            std::copy(oracle.current, oracle.current + 6, settings_only.current);
            oracle = settings_only;

            const Image src = natural_image(w, h, rng);
            const Layout layout = Layout(frame % 3);
            HostBuffer in(src, layout), out(Image(w, h), layout);
            kelvra::run_frame_pass(fd, in.frame, out.frame);
            std::vector<uint32_t> want(src.px.size());
            plain::frame_pass(oracle, src.px, want, w, h);
            ASSERT_EQ(out.image().px, want) << "sequence " << sequence << " frame " << frame;
            ASSERT_TRUE(out.padding_intact());
        }
    }
}

TEST(Layouts, PaddedTopDownAndInPlaceGiveTheContiguousPicture) {
    std::mt19937 rng(77);
    for (int trial = 0; trial < 12; ++trial) {
        const int w = 321 + trial * 7, h = 37 + trial;
        const Image src = natural_image(w, h, rng);
        kelvra::FilterData base = fresh_record(w, h);
        randomize_settings(base, rng, w, h);

        kelvra::FilterData fd = base;
        const Image want = run_engine(fd, src);
        for (Layout layout : {Layout::Padded, Layout::TopDown}) {
            fd = base;
            HostBuffer in(src, layout), out(Image(w, h), layout);
            kelvra::run_frame_pass(fd, in.frame, out.frame);
            EXPECT_EQ(out.image().px, want.px);
            EXPECT_TRUE(out.padding_intact());
            fd = base;
            HostBuffer same(src, layout);
            kelvra::run_frame_pass(fd, same.frame, same.frame);
            EXPECT_EQ(same.image().px, want.px) << "in place";
        }
    }
}
