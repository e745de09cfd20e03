// SPDX-License-Identifier: GPL-2.0-or-later
#include "frame_digest.h"

#include "host_bitmap.h"
#include "plugin_host.h"
#include "random_frames.h"

namespace {

// FNV-1a, 64-bit.
struct Digest {
    uint64_t value = 1469598103934665603ull;
    void add(uint32_t word) {
        for (int i = 0; i < 4; ++i) {
            value ^= (word >> (8 * i)) & 0xFF;
            value *= 1099511628211ull;
        }
    }
};

}  // namespace

uint64_t frame_digest() {
    Digest digest;
    std::mt19937 rng(20240607);
    for (int sequence = 0; sequence < 48; ++sequence) {
        const FrameSize size = random_size(rng);
        Instance inst;
        inst.set_size(size.w, size.h);
        inst.init();
        for (int frame = 0; frame < 6; ++frame) {
            random_settings(inst.record(), rng, size.w, size.h);
            HostBitmap in(natural_image(size.w, size.h, rng)), out(size.w, size.h, RowLayout::Contiguous);
            inst.src = in.bitmap;
            inst.dst = out.bitmap;
            inst.run();
            for (uint32_t p : out.image().px) digest.add(p);
            for (int i = 0; i < 6; ++i) digest.add(uint32_t(inst.record().current[i]));
        }
    }
    return digest.value;
}
