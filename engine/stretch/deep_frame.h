// SPDX-License-Identifier: GPL-2.0-or-later
// A deep picture: 16-bit samples (any depth from 9 to 16 bits scaled to the
// full 0..65535 range), one contiguous top-down plane per channel. The
// analysis sees it through one fixed reduction to 8 bits; only the stretch
// works on the 16-bit values.
#pragma once

#include <cstddef>
#include <cstdint>

#include "base/channel_counts.h"

namespace kelvra {

struct DeepFrame {
    uint16_t* r;
    uint16_t* g;
    uint16_t* b;
    int32_t width;
    int32_t height;

    size_t samples() const { return size_t(width) * size_t(height); }
};

// round(v * 255 / 65535), that is round(v / 257): v / 257 is never exactly
// halfway between two integers, so adding 128 before the division rounds.
// 257 * x comes back as x for every byte x.
constexpr uint8_t reduce_sample(uint16_t v) { return static_cast<uint8_t>((uint32_t{v} + 128) / 257); }

// The reduction as top-down 0x00RRGGBB pixels, which is what the frame pass
// analyses.
void reduce_to_pixels(const DeepFrame& frame, uint32_t* pixels);

// The counts of the reduction, per channel, over the whole picture.
ChannelCounts count_reduced(const DeepFrame& frame);

}  // namespace kelvra
