// SPDX-License-Identifier: GPL-2.0-or-later
// The light of a run of frames, followed from one frame's cells to the
// next, and which cells show the background.
//
// Each frame's cells are compared with those of a key frame, the run's
// first for as long as most cells agree with it. That gives the light as
// three gains since the run began; the cells that agree are the
// background, the others have something passing over them. A frame too
// dark or clipped to compare, or one much of which something covers, keeps
// the light as it was; so does one that is not the key's picture any more
// (the camera moved, something large covers it), which becomes the key. A frame where next to no cell agrees
// with the frame before either is unlike it: if the next frame holds its picture (some cells agree), that
// next frame shows another scene. The light given holds still within half a percent of the one measured and
// creeps towards it, as a camera's white balance holds still inside a tolerance.
//
// It depends on the pictures alone, taken in order as they are measured,
// so a binding that measures ahead of correcting gets what one that
// measures each frame as it comes gets.
#pragma once

#include <cstdint>

#include "balance/light_cells.h"

namespace kelvra {

// How a frame's light was found.
enum class LightTrack : int32_t {
    kStart,   // the run starts here
    kKey,     // measured against the key frame
    kHeld,    // too little to compare, or too little agrees: the light as
              // before
    kMoved,   // the picture is not the key's (it moved, or something large
              // covers it): the light as before, the frame the key
    kUnlike,  // unlike the frame before: as kMoved
    kScene,   // the unlike frame before held: another scene, the frame the
              // key
};

const char* light_track_name(LightTrack track);

// How a frame's light was found, and what it was.
struct LightReading {
    LightTrack track = LightTrack::kStart;
    double gain[3] = {1, 1, 1};  // since the run began, R, G, B
    double agreement = 1;        // share of the cells compared that agreed
};

struct FrameLight : LightReading {
    // Cells that show the background: alike in the frame the light was
    // measured against, or too dark or clipped in both. All of them where
    // no light was measured.
    bool background[kLightCells];
};

class LightTracker {
public:
    // The next frame starts the run afresh.
    void restart() { frames_ = 0; }

    void follow(const LightCells& cells, FrameLight& light);

private:
    LightTrack compare(const LightCells& cells, FrameLight& light);

    int64_t frames_ = 0;
    double gain_[3] = {1, 1, 1};
    LightCells key_{}, previous_{};
    double key_gain_[3] = {1, 1, 1};
    double given_[3] = {1, 1, 1};            // the light as given, a tolerance behind
    LightTrack track_ = LightTrack::kStart;  // the frame before's
};

}  // namespace kelvra
