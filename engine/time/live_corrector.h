// SPDX-License-Identifier: GPL-2.0-or-later
// The correction for hosts that hand over one frame at a time with its time
// stamp and want it back at once (frei0r effects in ffmpeg, MLT, GStreamer):
// no look-ahead, and frames may come in any order.
//
// Frames in order run as the tool runs them: balance following the shot's
// light, or, with the plug-in's correction, as a fresh plug-in instance runs
// them as the editor renders (the five-frame average from the defaults).
// Where the time does not follow on (a seek, a step back, a skipped stretch)
// the run restarts as at a cut, from the frame's own levels, so a frame
// never blends with frames that are not its neighbours.
//
// Shot-aware, the cut detector runs as it does in the tool, which judges
// each frame once it has seen the two after it. Here the frame is judged at
// once as if the frames after it held its picture, the most a cut can score,
// and the judgement is put right as the next frames come: the average is
// rewound to before the first frame judged otherwise and the steps since
// taken again with the new verdicts. So the averaging is the tool's
// throughout, and a frame's own picture differs from the tool's only where
// the verdicts differ (a flash is taken as a cut and gets its own full
// correction; so does a last frame that looks like a cut). The first frame
// starts a shot, as the tool's warm start does.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

#include "balance/balance_sample.h"
#include "balance/shot_light.h"
#include "base/correction.h"
#include "base/filter_data.h"
#include "pass/frame_pass.h"
#include "time/frame_clock.h"
#include "time/shot_sight.h"
#include "time/shots.h"

namespace kelvra {

struct LiveSettings {
    Correction correction = Correction::kBalance;
    int32_t level = 25, soft = 0, border = 0;
    int32_t nup = 1, nleft = 1, nright = 1, ndown = 1;
    int32_t show_histogram = 0;
    std::optional<int32_t> sensitivity;  // 0..100: shot-aware averaging when set
};

// The pixels of a top-down frame that balance measures: columns x rows of
// them, every step-th of every step-th row from (left, top).
struct Lattice {
    int32_t left = 0, top = 0, step = 1, columns = 0, rows = 0;
};

// The lattice of a width x height frame with these settings' border. A host
// that measures a packed copy of those pixels alone, with the border off,
// gets balance's levels for the whole frame: the copy's lattice is all of it.
Lattice balance_lattice(const LiveSettings& settings, int32_t width, int32_t height);

class LiveCorrector {
public:
    LiveCorrector(int32_t width, int32_t height);

    // Corrects one top-down BGRA frame into `dst` (which may be `src`), alpha
    // kept. Allocates nothing.
    void correct(const LiveSettings& settings, double time, const uint32_t* src, uint32_t* dst);

    // The first half of correct(): the frame measured and its levels as the
    // run's next step, for a host that stretches the frame itself.
    // Allocates nothing.
    Levels measure(const LiveSettings& settings, double time, const uint32_t* src);

    // The analysis of the frame last measured.
    const FrameAnalysis& last_analysis() const { return analyses_[(frames_ + kSteps - 1) % kSteps]; }

private:
    // The averaging's state, as it stood before a frame's step.
    struct Averaging {
        int32_t history[kLevels][kHistory];
        int32_t current[kLevels];
        ShotLight light;
    };

    // One frame's step of the averaging: the state before it, and whether it
    // started a shot and the detector decided that.
    struct Step {
        Averaging before;
        bool shot_start = false, judged = false;
    };
    // This frame's step and those the detector has not given its last word on.
    static constexpr int kSteps = ShotFinder::kLookAhead + 1;
    using Verdicts = std::optional<ShotCall>[ShotFinder::kLookAhead];

    bool judge(const LiveSettings& settings, bool broken, const FrameAnalysis& analysis, const uint32_t* src);
    void retake_steps(const Verdicts& verdicts);
    // Keeps the averaging as it stands before the frame's step, and the
    // verdict the step takes.
    void begin_step(int64_t frame, bool shot_start);

    FilterData fd_;
    LightTracker tracker_;  // balance's, as the frames come
    ShotLight light_;       // balance's, beside the record's history
    int32_t width_, height_;
    BalanceSample sample_;
    FrameClock clock_;
    std::unique_ptr<FrameAnalysis[]> analyses_;  // by frame, a ring of kSteps
    int64_t frames_ = 0;
    std::optional<ShotFinder> shots_;
    int32_t shots_sensitivity_ = 0;
    ShotSight sight_;
    Step steps_[kSteps];          // by frame, a ring
    std::vector<uint8_t> alpha_;  // kept aside for in-place frames
};

}  // namespace kelvra
