// SPDX-License-Identifier: GPL-2.0-or-later
// The stretch as integer arithmetic on 16-bit lanes, one lane per channel
// byte (B, G, R and the unused top byte of a pixel). With v the byte and
// u = v + 256:
//
//   d   = max(u - bias, 0)                   bias = low + 256
//   q   = d * whole + (d * frac >> 16)       both mod 2^16
//   out = min(q >> kLaneShift, 255)
//
// which is d * M / 2^(16 + kLaneShift) for M = whole * 65536 + frac. The
// double formula is matched only where a frame's multiplier is checked
// against all 256 table entries; the tables stay the reference. Stretches
// steep enough to overflow q (a span of about 32 or less) never check out.
#pragma once

#include <cstdint>

namespace kelvra {

constexpr int kLaneShift = 4;

// Constants per lane, in pixel byte order: blue, green, red, top byte.
struct LaneFormula {
    uint16_t bias[4], whole[4], frac[4];
};

// The output of lane `lane` for byte v, as the vector kernels compute it.
uint8_t lane_value(const LaneFormula& lanes, int lane, int32_t v);

// Fits the lane of one channel to its 256 table bytes. Returns false (and
// leaves the lane unusable) when no multiplier reproduces every entry.
bool fit_lane(LaneFormula& lanes, int lane, int32_t low, int32_t high, const uint8_t (&table)[256]);

// A lane that gives 0 for every byte, for the top byte of the output.
void zero_lane(LaneFormula& lanes, int lane);

}  // namespace kelvra
