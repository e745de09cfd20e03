// SPDX-License-Identifier: GPL-2.0-or-later
// The fast frame pass against the plain implementation, bit for bit, over
// many seeded frames of odd sizes and settings sequences that reach every
// path: the vector remap and its table fallback (held levels far outside the
// usual range), the overlay counts derived with and without a border and an
// outline, in contiguous, padded, top-down and in-place buffers.
#include <gtest/gtest.h>

#include "pass/frame_pass.h"
#include "plain_filter.h"
#include "test_frames.h"

namespace {

enum class Buffers { Contiguous, Padded, TopDown, InPlace };

Layout layout_of(Buffers b) {
    return b == Buffers::Padded    ? Layout::Padded
           : b == Buffers::TopDown ? Layout::TopDown
                                   : Layout::Contiguous;
}

// Frozen levels anywhere, so the stretch takes every kernel.
void hold_random_levels(kelvra::FilterData& fd, std::mt19937& rng) {
    auto pick = [&](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng); };
    fd.freeze = 1;
    for (int c = 0; c < 3; ++c) {
        fd.current[c] = pick(0, 3) == 0 ? pick(-600, 300) : pick(-60, 130);
        fd.current[c + 3] = pick(0, 3) == 0 ? pick(-300, 900) : pick(128, 330);
    }
}

// The oracle takes the settings of `fd` but keeps its own history.
void follow_settings(kelvra::FilterData& oracle, const kelvra::FilterData& fd) {
    kelvra::FilterData next = fd;
    std::copy(&oracle.history[0][0], &oracle.history[0][0] + 30, &next.history[0][0]);
    if (!fd.freeze) std::copy(oracle.current, oracle.current + 6, next.current);
    oracle = next;
}

std::vector<uint32_t> run_fast(kelvra::FilterData& fd, const Image& src, Buffers buffers) {
    HostBuffer in(src, layout_of(buffers));
    if (buffers == Buffers::InPlace) {
        kelvra::run_frame_pass(fd, in.frame, in.frame);
        return in.image().px;
    }
    HostBuffer out(Image(src.w, src.h, 0x5A5A5A5A), layout_of(buffers));
    kelvra::run_frame_pass(fd, in.frame, out.frame);
    EXPECT_TRUE(out.padding_intact());
    EXPECT_EQ(in.image().px, src.px) << "the source is read only";
    return out.image().px;
}

}  // namespace

TEST(FastPassDifferential, EqualsThePlainPassOnSeededSequences) {
    std::mt19937 rng(515);
    for (int sequence = 0; sequence < 120; ++sequence) {
        const int w = 1 + 2 * std::uniform_int_distribution<int>(0, 360)(rng);
        const int h = std::uniform_int_distribution<int>(1, 150)(rng);
        const Buffers buffers = Buffers(sequence % 4);
        kelvra::FilterData fd = fresh_record(w, h);
        kelvra::FilterData oracle = fd;
        for (int frame = 0; frame < 4; ++frame) {
            randomize_settings(fd, rng, w, h);
            fd.show_histogram = frame % 2 == 0;
            if (std::uniform_int_distribution<int>(0, 2)(rng) == 0) hold_random_levels(fd, rng);
            follow_settings(oracle, fd);

            const Image src = natural_image(w, h, rng);
            const std::vector<uint32_t> got = run_fast(fd, src, buffers);
            std::vector<uint32_t> want(src.px.size());
            plain::frame_pass(oracle, src.px, want, w, h);
            ASSERT_EQ(got, want) << "sequence " << sequence << " frame " << frame << " " << w << "x" << h;
            ASSERT_EQ(std::vector<int>(fd.current, fd.current + 6),
                      std::vector<int>(oracle.current, oracle.current + 6));
        }
    }
}

TEST(FastPassDifferential, LargeFramesWithOverlayBorderAndOutline) {
    std::mt19937 rng(99);
    for (Buffers buffers : {Buffers::Contiguous, Buffers::Padded, Buffers::TopDown, Buffers::InPlace}) {
        const int w = 643 + int(rng() % 64), h = 361 + int(rng() % 32);
        kelvra::FilterData fd = open_dialog_record(w, h);
        fd.show_histogram = fd.border = 1;
        fd.nup = 17, fd.ndown = 40, fd.nleft = 3, fd.nright = 101;
        kelvra::FilterData oracle = fd;
        const Image src = natural_image(w, h, rng);
        const std::vector<uint32_t> got = run_fast(fd, src, buffers);
        std::vector<uint32_t> want(src.px.size());
        plain::frame_pass(oracle, src.px, want, w, h);
        ASSERT_EQ(got, want);
    }
}
