// SPDX-License-Identifier: GPL-2.0-or-later
#include "balance/light_tracker.h"

#include <algorithm>

namespace kelvra {
namespace {

// Most cells agree with a change of light; a thing passing covers a few.
// Fast motion leaves a third or more agreeing, another scene next to none.
constexpr double kAgreeing = 0.5;
constexpr double kUnlike = 0.15;
// The light is taken from the key only where more than half of the picture
// agrees: a hand before the lens leaves about half.
constexpr double kFollowing = 0.55;
// The light given holds still while the one measured stays within this of
// it, and creeps towards it by this share a frame, as a camera's white
// balance does: a camera's own flicker and the measure's noise stay out.
constexpr double kTolerance = 0.005;
constexpr double kCreep = 1.0 / 25;

}  // namespace

const char* light_track_name(LightTrack track) {
    switch (track) {
        case LightTrack::kStart:
            return "start";
        case LightTrack::kKey:
            return "key";
        case LightTrack::kHeld:
            return "held";
        case LightTrack::kMoved:
            return "moved";
        case LightTrack::kUnlike:
            return "unlike";
        case LightTrack::kScene:
            return "scene";
    }
    return "";
}

LightTrack LightTracker::compare(const LightCells& cells, FrameLight& light) {
    const LightChange from_key = light_change(key_, cells);
    light.agreement = from_key.agreement;
    // The unlike frame before, the key, showed a picture that held (as far
    // as a moving one holds).
    if (track_ == LightTrack::kUnlike && from_key.agreement >= kUnlike) return LightTrack::kScene;
    if (from_key.agreement >= kAgreeing) {
        std::copy_n(from_key.alike, kLightCells, light.background);
        // With much of the picture covered, what still agrees is too little
        // to tell the light by.
        if (from_key.agreement < kFollowing) return LightTrack::kHeld;
        for (int c = 0; c < 3; ++c) gain_[c] = key_gain_[c] * from_key.gain[c];
        return LightTrack::kKey;
    }
    // Against the frame before, only to tell motion from a cut: a light
    // taken from frame to frame would add up the errors of every step, and
    // something large moving through (a hand before the lens) agrees with
    // itself from one frame to the next.
    const LightChange from_previous = light_change(previous_, cells);
    light.agreement = from_previous.agreement;
    if (std::max(from_key.compared, from_previous.compared) < kFewestCells) return LightTrack::kHeld;
    // Next to nothing alike, all at once: a cut, if the next frame holds the
    // picture; a whip pan, if not.
    const bool unlike = std::max(from_key.agreement, from_previous.agreement) < kUnlike;
    return unlike && track_ != LightTrack::kUnlike ? LightTrack::kUnlike : LightTrack::kMoved;
}

void LightTracker::follow(const LightCells& cells, FrameLight& light) {
    std::fill_n(light.background, kLightCells, true);
    light.agreement = 1;
    if (frames_ == 0) std::fill_n(gain_, 3, 1.0);
    light.track = frames_ == 0 ? LightTrack::kStart : compare(cells, light);
    // The key stays while it is compared with; otherwise this frame is it.
    if (light.track != LightTrack::kKey && light.track != LightTrack::kHeld) {
        key_ = cells;
        std::copy_n(gain_, 3, key_gain_);
    }
    previous_ = cells;
    track_ = light.track;
    for (int c = 0; c < 3; ++c) {
        const double measured = gain_[c];
        if (frames_ == 0)
            given_[c] = measured;
        else if (measured > given_[c] * (1 + kTolerance))
            given_[c] = measured / (1 + kTolerance);
        else if (measured < given_[c] * (1 - kTolerance))
            given_[c] = measured / (1 - kTolerance);
        else
            given_[c] += (measured - given_[c]) * kCreep;
    }
    std::copy_n(given_, 3, light.gain);
    ++frames_;
}

}  // namespace kelvra
