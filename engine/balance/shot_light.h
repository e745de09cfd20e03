// SPDX-License-Identifier: GPL-2.0-or-later
// Balance over a run of frames: levels that move when the light moves, and
// only then.
//
// Each frame's points, measured on its background and divided by the run's
// light (light_tracker), are what the scene shows under the run's first
// light. A car driving through or a coat passing changes them for a while
// only, so the scene is taken as the mean of the values near their median
// over the last kWindow frames of the shot, the shot's first frame counted
// kFirstWeight times; it moves at most kSceneStep a frame. A frame's levels
// are made from the scene carried back into the frame's light, and move
// once their exact values stray more than kHold from them, or have been
// nearer other whole levels for a while, so rounding does not flicker. The
// run starts again at a shot start, and where the light tracker sees
// another scene.
#pragma once

#include <cstdint>

#include "balance/balance.h"
#include "balance/light_tracker.h"
#include "base/levels.h"

namespace kelvra {

// What the run made of a frame: the light tracker's reading, and the
// scene's points in this frame's light.
struct LightReport : LightReading {
    ScenePoints used{};
};

class ShotLight {
public:
    // Frames whose points the scene is taken from.
    static constexpr int kWindow = 256;

    // Whether the run starts again where the light tracker sees another
    // scene; off where the shots come from the cut detector or the user.
    bool finds_cuts = true;

    // The next frame of the run; `shot_start` starts the run at it. Gives
    // the frame's levels, and the points they were made from in `used`.
    Levels add(const BalancePoints& points, const LightReading& light, bool shot_start, ScenePoints& used);

private:
    static constexpr int kSeen = 7;  // white R G B, black R G B, spread
    // The run's first frame counts this many times in the window.
    static constexpr int kFirstWeight = 25;

    ScenePoints window_scene();

    int64_t frames_ = 0;  // in the run
    // The scene's points each frame showed, under the run's first light: a
    // ring, and the first frame's.
    float seen_[kWindow][kSeen] = {};
    float first_[kSeen] = {};
    float scratch_[kFirstWeight + kWindow] = {};
    ScenePoints scene_{};  // as the frame before had it
    Levels levels_{};
    int32_t waited_[kLevels] = {};  // frames each level has been off its nearest
};

}  // namespace kelvra
