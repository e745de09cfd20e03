// Where shots start. A cut is a frame whose histograms jump away from the
// frame before and stay away: the jump is large, much larger than the change
// that led into the frame before (a fade or a pan changes a little every
// frame, so it never stands out), and the next frame is like the new one, or
// at least not on a steady way from the old picture to it. A frame unlike
// the frames on both sides, whose next frame returns to the picture before it
// (a photo flash, a white frame), is no cut and is no reference for the
// frames after it. Frames are counted from 1; frame 1 always starts a shot.
#pragma once

#include <cstdint>
#include <optional>
#include <set>
#include <string>

#include "end_points.h"

namespace kelvra::cli {

constexpr int kDefaultSensitivity = 50;

struct CutRules {
    std::optional<int> sensitivity;  // 0..100; detection runs only when set
    std::set<int64_t> cut_at, no_cut_at;

    bool active() const { return sensitivity || !cut_at.empty(); }
};

// How far apart two frames' histograms are, in values 0..255: the mean shift
// of a channel's pixels (the earth mover's distance over the coarse shape),
// the largest of the three channels.
double shape_distance(const FrameReport& a, const FrameReport& b);

// The jump a cut needs at this sensitivity: 128 at 0, halving every 25
// points, 32 at the default 50, 8 at 100.
double cut_threshold(int sensitivity);

class ShotFinder {
public:
    explicit ShotFinder(const CutRules& rules);

    // Takes the next frame; says whether the frame before it starts a shot
    // (nothing on the first call, which has no frame before).
    std::optional<bool> next(const FrameReport& report);
    // Says whether the last frame given starts a shot; a last frame is never
    // a detected cut, as nothing tells it from a flash.
    std::optional<bool> end();

private:
    bool detect(const FrameReport* after);
    bool decide(bool detected) const;

    CutRules rules_;
    double threshold_;
    int64_t frames_ = 0;       // frames taken
    FrameReport pending_{};    // frame frames_, waiting for its successor
    FrameReport reference_{};  // the last frame that was no flash
    double lead_in_ = 0;       // the change that led into the reference
};

// The warning for --cut-at and --no-cut-at frames past the last of `frames`,
// or nothing.
std::optional<std::string> cuts_beyond_warning(const CutRules& rules, int64_t frames);

}  // namespace kelvra::cli
