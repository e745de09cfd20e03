// SPDX-License-Identifier: GPL-2.0-or-later
// The DLL's RunProc against the plain implementation, over seeded frames of
// odd sizes and settings sequences, in every buffer layout a host uses.
#include <vector>

#include "check.h"
#include "host_bitmap.h"
#include "plain_filter.h"
#include "plugin_host.h"
#include "random_frames.h"

namespace {

enum class Buffers { Contiguous, Padded64, TopDown, InPlace };

RowLayout layout_of(Buffers b) {
    switch (b) {
        case Buffers::Padded64:
            return RowLayout::Padded64;
        case Buffers::TopDown:
            return RowLayout::TopDown;
        default:
            return RowLayout::Contiguous;
    }
}

// One sequence: frames of one size through one instance, the oracle record
// following the same settings. Returns false at the first mismatch.
bool run_sequence(std::mt19937& rng, Buffers buffers, int sequence) {
    const FrameSize size = random_size(rng);
    Instance inst;
    inst.set_size(size.w, size.h);
    inst.init();
    kelvra::FilterData oracle = inst.record();
    const RowLayout layout = layout_of(buffers);
    for (int frame = 0; frame < 5; ++frame) {
        random_settings(inst.record(), rng, size.w, size.h);
        kelvra::FilterData next = inst.record();
        std::copy(&oracle.history[0][0], &oracle.history[0][0] + 30, &next.history[0][0]);
        std::copy(oracle.current, oracle.current + 6, next.current);
        oracle = next;

        const Image src = natural_image(size.w, size.h, rng);
        HostBitmap in(src, layout, frame % 2 ? 0 : 32);
        HostBitmap out(size.w, size.h, layout);
        inst.src = in.bitmap;
        inst.dst = buffers == Buffers::InPlace ? in.bitmap : out.bitmap;
        CHECK_EQ(inst.run(), 0);
        std::vector<uint32_t> want(src.px.size());
        plain::frame_pass(oracle, src.px, want, size.w, size.h);
        const Image got = buffers == Buffers::InPlace ? in.image() : out.image();
        const bool same = CHECK(got.px == want) && CHECK(in.padding_intact() && out.padding_intact()) &&
                          CHECK(std::equal(oracle.current, oracle.current + 6, inst.record().current)) &&
                          CHECK(inst.guard_intact());
        if (buffers != Buffers::InPlace) CHECK(in.image().px == src.px);
        if (!same) {
            std::printf("  sequence %d frame %d size %dx%d\n", sequence, frame, size.w, size.h);
            return false;
        }
    }
    return true;
}

void run_sequences(Buffers buffers, unsigned seed) {
    std::mt19937 rng(seed);
    for (int sequence = 0; sequence < 40; ++sequence)
        if (!run_sequence(rng, buffers, sequence)) return;
}

}  // namespace

TEST_CASE(differential_contiguous) { run_sequences(Buffers::Contiguous, 1); }
TEST_CASE(differential_padded_64_byte_rows) { run_sequences(Buffers::Padded64, 2); }
TEST_CASE(differential_top_down) { run_sequences(Buffers::TopDown, 3); }
TEST_CASE(differential_in_place) { run_sequences(Buffers::InPlace, 4); }
