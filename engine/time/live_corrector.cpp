// SPDX-License-Identifier: GPL-2.0-or-later
#include "time/live_corrector.h"

#include <algorithm>

#include "base/region.h"
#include "base/top_down.h"
#include "dialog/settings_edit.h"
#include "plugin/end_points.h"

namespace kelvra {

LiveCorrector::LiveCorrector(int32_t width, int32_t height)
    : width_(width),
      height_(height),
      analyses_(new FrameAnalysis[kSteps]),
      alpha_(size_t(width) * size_t(height)) {
    init_filter_data(fd_, width, height);
}

Lattice balance_lattice(const LiveSettings& s, int32_t width, int32_t height) {
    Settings settings{};
    settings.border = s.border;
    settings.nup = s.nup;
    settings.nleft = s.nleft;
    settings.nright = s.nright;
    settings.ndown = s.ndown;
    const SampleGrid grid = sample_grid(analysis_region(settings, width, height));
    // The grid's rows count up from the bottom; its top row is its last.
    const int32_t top = grid.rows ? height - 1 - (grid.y0 + (grid.rows - 1) * grid.step) : 0;
    return Lattice{grid.x0, top, grid.step, grid.columns, grid.rows};
}

void LiveCorrector::correct(const LiveSettings& s, double time, const uint32_t* src, uint32_t* dst) {
    const size_t pixels = size_t(width_) * size_t(height_);
    const bool in_place = src == dst;
    if (in_place) {
        for (size_t i = 0; i < pixels; ++i) alpha_[i] = uint8_t(src[i] >> 24);
    }
    const Levels levels = measure(s, time, src);
    stretch_frame(last_analysis(), top_down_view(const_cast<uint32_t*>(src), width_, height_),
                  top_down_view(dst, width_, height_), levels);
    if (in_place) {
        for (size_t i = 0; i < pixels; ++i) dst[i] |= uint32_t{alpha_[i]} << 24;
    } else {
        keep_alpha(src, dst, pixels);
    }
}

Levels LiveCorrector::measure(const LiveSettings& s, double time, const uint32_t* src) {
    apply_config(fd_, {s.level, s.soft, s.border, s.nup, s.nleft, s.nright, s.ndown});
    store_relaxed(fd_.show_histogram, s.show_histogram);
    // With the plug-in's correction frame 1 is a fresh instance's, and only a
    // later break restarts by itself; balance starts with the first frame's
    // full correction, as the tool does.
    const bool broken = clock_.breaks(time) && (frames_ > 0 || s.correction == Correction::kBalance);
    FrameAnalysis& a = analyses_[frames_ % kSteps];
    // The cut detector compares the histograms' shapes.
    const AnalysisPlan plan{s.correction, s.sensitivity.has_value(), &sample_, &tracker_};
    if (broken) tracker_.restart();
    analyse_frame(fd_, top_down_view(const_cast<uint32_t*>(src), width_, height_), a, plan);
    const bool shot_start = judge(s, broken, a, src) || broken;
    light_.finds_cuts = !s.sensitivity;
    begin_step(frames_, shot_start);
    const Levels levels = step_levels(fd_, light_, a, shot_start, nullptr);
    ++frames_;
    return levels;
}

// Whether the detector takes this frame as a shot start; false when it is
// off. A detector that starts afresh (at frame 1, at a break, switched on or
// to another sensitivity) takes its first frame as a shot start only at
// frame 1, as the tool's warm start does.
bool LiveCorrector::judge(const LiveSettings& s, bool broken, const FrameAnalysis& a, const uint32_t* src) {
    steps_[frames_ % kSteps].judged = false;
    if (!s.sensitivity) {
        shots_.reset();
        return false;
    }
    see_frame(a, src, width_, height_, sight_);
    if (broken || !shots_ || shots_sensitivity_ != *s.sensitivity) {
        shots_.emplace(CutRules{s.sensitivity, {}, {}});
        shots_sensitivity_ = *s.sensitivity;
        shots_->next(sight_.report, sight_.thumbnail);
        return frames_ == 0;
    }
    // The verdict on the frame kLookAhead back is final; those on the frames
    // since, and on this one, are as if the frames to come held this picture.
    Verdicts verdicts;
    verdicts[0] = shots_->next(sight_.report, sight_.thumbnail);
    ShotFinder probe = *shots_;
    for (int i = 1; i < ShotFinder::kLookAhead; ++i)
        verdicts[i] = probe.next(sight_.report, sight_.thumbnail);
    const std::optional<ShotCall> provisional = probe.next(sight_.report, sight_.thumbnail);
    retake_steps(verdicts);
    steps_[frames_ % kSteps].judged = true;
    return provisional && provisional->shot_start;
}

// verdicts[i] is on frame frames_ - kLookAhead + i. From the first frame the
// detector now judges otherwise, the average is rewound and every step since
// taken again.
void LiveCorrector::retake_steps(const Verdicts& verdicts) {
    const int64_t first = frames_ - ShotFinder::kLookAhead;
    int64_t from = frames_;
    bool starts[ShotFinder::kLookAhead] = {};
    for (int64_t f = std::max<int64_t>(0, first); f < frames_; ++f) {
        const Step& taken = steps_[f % kSteps];
        const std::optional<ShotCall>& verdict = verdicts[f - first];
        starts[f - first] = taken.judged && verdict ? verdict->shot_start : taken.shot_start;
        if (starts[f - first] != taken.shot_start) from = std::min(from, f);
    }
    if (from == frames_) return;
    const Averaging& before = steps_[from % kSteps].before;
    std::copy_n(&before.history[0][0], kLevels * kHistory, &fd_.history[0][0]);
    std::copy_n(before.current, kLevels, fd_.current);
    light_ = before.light;
    for (int64_t f = from; f < frames_; ++f) {
        begin_step(f, starts[f - first]);
        step_levels(fd_, light_, analyses_[f % kSteps], starts[f - first], nullptr);
    }
}

void LiveCorrector::begin_step(int64_t frame, bool shot_start) {
    Step& step = steps_[frame % kSteps];
    std::copy_n(&fd_.history[0][0], kLevels * kHistory, &step.before.history[0][0]);
    std::copy_n(fd_.current, kLevels, step.before.current);
    step.before.light = light_;
    step.shot_start = shot_start;
}

}  // namespace kelvra
