// SPDX-License-Identifier: GPL-2.0-or-later
// Balance over a run of frames: levels that move when the light moves, and
// only then.
//
// Each frame's light is measured against the run's: the cells of the frame
// against those of a key frame (the run's first, while most cells agree
// with it), else against the frame before, which then becomes the key.
// That gives the light as three gains since the run began. A frame too dark
// or clipped to compare, or one whose picture moved too much to tell (fast
// action: a third or more of the cells still agree), keeps the light as it
// was. A frame where next to no cell agrees with the frame before may be a
// cut: if the next frame holds its picture (some cells agree), the run
// starts again there, one frame late (the cut detector of the shot options
// knows at the cut itself).
//
// Each frame's measured points, divided by those gains, are what the scene
// shows under the run's first light. A car driving through or a coat
// passing changes them for a while only, so the scene is taken as the mean
// of the values near their median over the last kWindow frames, the run's
// first frame counted kFirstWeight times; it moves at most kSceneStep a
// frame. A frame's levels are made from the scene carried back into the
// frame's light, and move once their exact values stray more than kHold
// from them, or have been nearer other whole levels for a while, so
// rounding does not flicker.
#pragma once

#include <cstdint>

#include "balance.h"
#include "levels.h"
#include "light_cells.h"

namespace kelvra {

// How a frame's light was found.
enum class LightTrack : int32_t {
    kStart,   // the run starts here: the frame's own light and points
    kKey,     // measured against the key frame
    kChain,   // against the frame before, which became the key
    kHeld,    // too little to compare: the light as before
    kMoved,   // the picture moved too much to tell: the light as before,
              // the frame the key
    kUnlike,  // unlike the frame before: as kMoved, and a cut if the next
              // frame holds the picture
    kScene,   // it did: another scene, the run starts again here
};

const char* light_track_name(LightTrack track);

// What the run made of a frame.
struct LightReport {
    LightTrack track = LightTrack::kStart;
    double gain[3] = {1, 1, 1};  // the light since the run began, R, G, B
    double agreement = 1;        // share of the cells compared that agreed
    ScenePoints used{};          // the scene's points in this frame's light
};

class ShotLight {
public:
    // Frames whose points the scene is taken from.
    static constexpr int kWindow = 256;

    // Whether the run starts again at a cut it sees itself; off where the
    // shots come from the cut detector or from the user.
    bool finds_cuts = true;

    // The next frame of the run; `shot_start` starts the run at it. Gives
    // the frame's levels.
    Levels add(const BalancePoints& points, const LightCells& cells, bool shot_start, LightReport& report);

private:
    static constexpr int kSeen = 7;  // white R G B, black R G B, spread
    // The run's first frame counts this many times in the window.
    static constexpr int kFirstWeight = 25;

    void restart(const LightCells& cells);
    LightTrack follow(const LightCells& cells, double& agreement);
    ScenePoints window_scene();

    int64_t frames_ = 0;  // in the run
    double gain_[3] = {1, 1, 1};
    LightCells key_{}, previous_{};
    LightTrack track_ = LightTrack::kStart;  // the frame before's
    double key_gain_[3] = {1, 1, 1};
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
