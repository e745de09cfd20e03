// SPDX-License-Identifier: GPL-2.0-or-later
// The stretch on deep samples. The six levels are the ones the 8-bit frame
// pass applied, in 8-bit units; a level L stands at 257 * L on the 16-bit
// scale, so 0 and 255 are 0 and 65535 and the Disable levels leave every
// sample as it is. In integers, exactly:
//
//   out = clamp((v - 257 * low) * 255 / (high - low), 0, 65535)
//
// with the division truncating toward zero, as the 8-bit stretch truncates;
// (v - 257 * low) * 65535 / (257 * (high - low)) is the same number. The
// products are 64-bit: levels can be any int32. A high equal to its low
// makes the channel 0, as in the 8-bit stretch.
#pragma once

#include <cstdint>
#include <vector>

#include "plugin/end_points.h"
#include "stretch/deep_frame.h"

namespace kelvra {

uint16_t deep_stretch_sample(uint16_t v, int32_t low, int32_t high);

// Applies levels to deep frames in place through one 65536-entry table per
// channel, rebuilt only when the levels change; the tables are allocated
// once, with the object.
class DeepStretch {
public:
    DeepStretch();
    void apply(const Levels& levels, const DeepFrame& frame);

private:
    void build(const Levels& levels);

    std::vector<uint16_t> tables_;  // red, green, blue
    Levels built_{};
    bool valid_ = false;
};

}  // namespace kelvra
