// SPDX-License-Identifier: GPL-2.0-or-later
// Where shots start. Each frame gets a cut score on the scale of the
// sensitivity: --scene-cuts=S takes a frame as a cut where its score is above
// 100 - S. The score is the higher of two views of the change from the frame
// before, each counted only where the picture stays changed (the next frame
// is like the new one, or at least not on a steady way back or onwards):
//
// - the histograms' shift, what the correction sees: 100 at a mean shift of
//   128 values, 25 less at each halving (50 at 32), and only where the shift
//   is sudden, more than twice the shift that led into the frame before (a
//   fade or a pan changes a little every frame, so it never stands out);
// - the thumbnails' change against the changes around it, which sees a cut
//   between shots of one tone: the geometric mean of its ratio to the median
//   change of the last five frames (a median, so a cut among them does not
//   hide the next) and of its ratio to the change into the next frame, each
//   change counted as at least 2 values; 50 at a ratio of 4, 25 more at each
//   doubling; and only where the change is sudden too and the next frame
//   changes by less than half as much.
//
// A frame unlike the picture before whose next frame, or the one after it,
// returns to that picture (a photo flash of one or two frames, a white
// frame) scores 0 and is no reference for the frames after it; so a frame is
// judged once the two after it are seen. The score depends on the pictures
// alone, never on the sensitivity, so a run's scores tell which sensitivity
// takes which cut. Frames are counted from 1; frame 1 always starts a shot
// and scores 0.
#pragma once

#include <cstdint>
#include <optional>
#include <set>

#include "plugin/end_points.h"
#include "time/thumbnail.h"

namespace kelvra {

// Scores above 25 are cuts by default: the middle of the gap between the
// weakest cut (31, a street seen again later from the same camera) and the
// strongest other frame (20, a shaking camera's fade to black) over the
// clip sets of scripts/eval-cuts.sh.
constexpr int kDefaultSensitivity = 75;

struct CutRules {
    std::optional<int> sensitivity;  // 0..100; detection runs only when set
    std::set<int64_t> cut_at, no_cut_at;

    bool active() const { return sensitivity || !cut_at.empty(); }
};

// How far apart two frames' histograms are, in values 0..255: the mean shift
// of a channel's pixels (the earth mover's distance over the coarse shape),
// the largest of the three channels.
double shape_distance(const FrameReport& a, const FrameReport& b);

// A frame's verdict: whether it starts a shot, and its cut score, rounded to
// hundredths (the decision compares the rounded score).
struct ShotCall {
    bool shot_start = false;
    double cut_score = 0;
};

class ShotFinder {
public:
    explicit ShotFinder(const CutRules& rules);

    // Frames a verdict waits for after its frame.
    static constexpr int kLookAhead = 2;

    // Takes the next frame; gives the verdict on the frame kLookAhead before
    // it (nothing on the first calls).
    std::optional<ShotCall> next(const FrameReport& report, const Thumbnail& thumbnail);
    // After the last frame: the verdict on the first frame not judged yet,
    // judged with the frames there are after it; nothing once every frame
    // is. A last frame is never a detected cut, as nothing tells it from a
    // flash.
    std::optional<ShotCall> end();

private:
    struct Sight {
        FrameReport report;
        Thumbnail thumbnail;
    };
    static constexpr int kRecent = 5;

    // Judges the oldest waiting frame and drops it from the queue.
    ShotCall judge(const Sight* after, const Sight* later);
    double score(const Sight& now, const Sight* after, const Sight* later);
    ShotCall decide(double score, int64_t frame) const;
    double recent_change() const;

    CutRules rules_;
    int64_t frames_ = 0, judged_ = 0;  // frames taken, and judged
    // Frames judged_ + 1 .. frames_, oldest first, waiting for the frames
    // after them.
    Sight waiting_[kLookAhead] = {};
    Sight reference_{};  // the last frame that was no flash
    // The histograms' shift and the thumbnails' change that led into the
    // reference.
    double lead_in_ = 0, change_lead_in_ = 0;
    // The frame after a shot's odd first frame: already the reference.
    bool settled_ = false;
    double recent_[kRecent] = {};  // the thumbnails' last changes, a ring
    int64_t changes_ = 0;
};

}  // namespace kelvra
