// SPDX-License-Identifier: GPL-2.0-or-later
#include "stretch/remap_lanes.h"

#include <initializer_list>

namespace kelvra {
namespace {

bool reproduces(const LaneFormula& lanes, int lane, const uint8_t (&table)[256]) {
    for (int32_t v = 0; v < 256; ++v)
        if (lane_value(lanes, lane, v) != table[v]) return false;
    return true;
}

}  // namespace

uint8_t lane_value(const LaneFormula& lanes, int lane, int32_t v) {
    // A saturating unsigned subtract.
    const int32_t after_bias = v + 256 - lanes.bias[lane];
    const uint32_t bits = static_cast<uint32_t>(after_bias < 0 ? 0 : after_bias);
    const uint16_t low_product = static_cast<uint16_t>(bits * lanes.whole[lane]);
    const uint16_t high_product = static_cast<uint16_t>((bits * lanes.frac[lane]) >> 16);
    const uint16_t q = static_cast<uint16_t>(low_product + high_product);
    // Signed saturation to a byte; q >> kLaneShift is never negative.
    const int32_t out = q >> kLaneShift;
    return static_cast<uint8_t>(out > 255 ? 255 : out);
}

void zero_lane(LaneFormula& lanes, int lane) {
    lanes.bias[lane] = 511;  // every byte ends at d = 0
    lanes.whole[lane] = 0;
    lanes.frac[lane] = 0;
}

bool fit_lane(LaneFormula& lanes, int lane, int32_t low, int32_t high, const uint8_t (&table)[256]) {
    zero_lane(lanes, lane);
    if (low < -255 || low > 255 || high <= low) return false;

    // 255 / span in fixed point, rounded down and up: below the exact
    // quotient a result that should be a whole number comes out one less,
    // as the double product often does; above it, it comes out whole.
    const int64_t span = int64_t{high} - low;
    const int64_t floor_multiplier = (int64_t{255} << (16 + kLaneShift)) / span;
    for (int64_t multiplier : {floor_multiplier, floor_multiplier + 1}) {
        if (multiplier >= (int64_t{1} << 32)) break;
        lanes.bias[lane] = static_cast<uint16_t>(low + 256);
        lanes.whole[lane] = static_cast<uint16_t>(multiplier >> 16);
        lanes.frac[lane] = static_cast<uint16_t>(multiplier & 0xFFFF);
        if (reproduces(lanes, lane, table)) return true;
    }
    zero_lane(lanes, lane);
    return false;
}

}  // namespace kelvra
