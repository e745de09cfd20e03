// SPDX-License-Identifier: GPL-2.0-or-later
#include "live_corrector.h"

#include <algorithm>

#include "end_points.h"
#include "settings_edit.h"
#include "top_down.h"

namespace kelvra {

LiveCorrector::LiveCorrector(int32_t width, int32_t height)
    : width_(width),
      height_(height),
      analyses_(new FrameAnalysis[2]),
      alpha_(size_t(width) * size_t(height)) {
    init_filter_data(fd_, width, height);
}

void LiveCorrector::correct(const LiveSettings& s, double time, const uint32_t* src, uint32_t* dst) {
    apply_config(fd_, {s.level, s.soft, s.border, s.nup, s.nleft, s.nright, s.ndown});
    store_relaxed(fd_.show_histogram, s.show_histogram);
    const size_t pixels = size_t(width_) * size_t(height_);
    const bool in_place = src == dst;
    if (in_place) {
        for (size_t i = 0; i < pixels; ++i) alpha_[i] = uint8_t(src[i] >> 24);
    }
    // Frame 1 is a fresh instance's; only a later break restarts by itself.
    const bool broken = clock_.breaks(time) && frames_ > 0;
    FrameAnalysis& a = analyses_[frames_ % 2];
    // The cut detector compares the histograms' shapes.
    const AnalysisPlan plan{s.correction, s.sensitivity.has_value(), &sample_};
    analyse_frame(fd_, top_down_view(const_cast<uint32_t*>(src), width_, height_), a, plan);
    const bool shot_start = judge(s, broken, a, src) || broken;
    stretch(a, shot_start, src, dst);
    if (in_place) {
        for (size_t i = 0; i < pixels; ++i) dst[i] |= uint32_t{alpha_[i]} << 24;
    } else {
        keep_alpha(src, dst, pixels);
    }
    last_started_shot_ = shot_start;
    ++frames_;
}

// Whether the detector takes this frame as a shot start; false when it is
// off. A detector that starts afresh (at frame 1, at a break, switched on or
// to another sensitivity) takes its first frame as a shot start only at
// frame 1, as the tool's warm start does.
bool LiveCorrector::judge(const LiveSettings& s, bool broken, const FrameAnalysis& a, const uint32_t* src) {
    const bool judged = last_judged_;
    last_judged_ = false;
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
    const std::optional<ShotCall> verdict = shots_->next(sight_.report, sight_.thumbnail);
    if (judged && verdict && verdict->shot_start != last_started_shot_) retake_last_step(verdict->shot_start);
    // The verdict on this frame if the next one shows the same picture.
    ShotFinder probe = *shots_;
    const std::optional<ShotCall> provisional = probe.next(sight_.report, sight_.thumbnail);
    last_judged_ = true;
    return provisional && provisional->shot_start;
}

void LiveCorrector::retake_last_step(bool shot_start) {
    std::copy_n(&before_last_.history[0][0], kLevels * kHistory, &fd_.history[0][0]);
    std::copy_n(before_last_.current, kLevels, fd_.current);
    const FrameAnalysis& last = analyses_[(frames_ - 1) % 2];
    if (shot_start) restart_history(fd_, own_levels(last));
    end_points(fd_, last.settings, own_levels(last), nullptr);
}

void LiveCorrector::stretch(const FrameAnalysis& a, bool shot_start, const uint32_t* src, uint32_t* dst) {
    std::copy_n(&fd_.history[0][0], kLevels * kHistory, &before_last_.history[0][0]);
    std::copy_n(fd_.current, kLevels, before_last_.current);
    if (shot_start) restart_history(fd_, own_levels(a));
    finish_frame_pass(fd_, a, top_down_view(const_cast<uint32_t*>(src), width_, height_),
                      top_down_view(dst, width_, height_), nullptr);
}

}  // namespace kelvra
