// SPDX-License-Identifier: GPL-2.0-or-later
// Kelvra's own correction, "balance": the cast taken away through the
// picture's white and black, the contrast left as it is.
//
// A cast made of per-channel gains moves every channel's white by its gain;
// one made of offsets lifts every channel's black by its offset. The white a
// picture shows is found among its jointly brightest pixels, the ones near
// the top of all three channels at once: a sheet of paper, a cloud, a blown
// highlight, rather than the red of a sunset in one channel and a blue sky in
// another; the more those pixels stray from one colour, the less the white
// is trusted (a sunset's brightest bits are the light's colour, not a
// neutral). Each channel is then scaled so its white meets the brightest
// channel's, and lowered by what its black stands above the darkest channel's
// (less a dead zone for the few levels that real blacks differ by); the
// darkest channel's own lift goes, up to a cap, so faded blacks return
// without undoing a fade to white. The result is six levels, stretched like
// the plug-in's, so averaging, steady shots, deep colour and the statistics
// work on it unchanged.
#pragma once

#include <cstdint>

#include "base/levels.h"

namespace kelvra {

// What the correction measures in a picture, on the 0..255 scale.
struct BalancePoints {
    int32_t white[3];      // R, G, B where the jointly brightest pixels reach
    int32_t black[3];      // each channel's darkest value
    int32_t white_spread;  // how far the white's pixels stray from one colour, in thousandths
};

// A pixel this bright in any channel may be clipped there, where a gain no
// longer shows.
constexpr int32_t kClipLevel = 250;

// What measure_balance sets aside, in pixels.
constexpr int32_t kBalanceScratch = 1 << 15;

// The points of a set of 0x00RRGGBB pixels; `count` may be 0 (an empty
// analysis region), which measures a picture with nothing to correct.
// `scratch` has room for kBalanceScratch pixels.
BalancePoints measure_balance(const uint32_t* pixels, int32_t count, uint32_t* scratch);

// Points on a continuous scale: a shot's, carried into one frame's light.
struct ScenePoints {
    double white[3];
    double black[3];
    double white_spread;
};

ScenePoints scene_points(const BalancePoints& points);

// The six levels that take the measured cast away, before rounding.
struct ExactLevels {
    double v[kLevels];
};

ExactLevels exact_balance_levels(const ScenePoints& points);

// The same, rounded half away from zero.
Levels balance_levels(const BalancePoints& points);

}  // namespace kelvra
