// SPDX-License-Identifier: GPL-2.0-or-later
#include "levels/corrector.h"

#include <cstddef>
#include <utility>

#include "base/top_down.h"
#include "dialog/settings_edit.h"
#include "pass/frame_pass.h"
#include "time/shot_sight.h"

namespace kelvra::cli {

// The seven values of the script line go in as the plug-in's script command
// stores them; the other two switches have no place in that line.
void apply_settings(FilterData& fd, const CorrectionSettings& s) {
    apply_config(fd, {s.level, s.soft, s.border, s.nup, s.nleft, s.nright, s.ndown});
    store_relaxed(fd.disable, s.disable);
    store_relaxed(fd.show_histogram, s.show_histogram);
}

Corrector::Corrector(const CorrectionSettings& s, int32_t width, int32_t height, LevelPlan plan)
    : width_(width),
      height_(height),
      freeze_after_(s.freeze_after),
      plan_(std::move(plan)),
      analyses_(new FrameAnalysis[kAnalyses]) {
    init_filter_data(fd_, width, height);
    apply_settings(fd_, s);
    if (plan_.cuts.active() && plan_.given.empty()) shots_.emplace(plan_.cuts);
    light_.finds_cuts = !plan_.cuts.active();
    // The cut detector compares the histograms' shapes.
    analysis_plan_ = {s.correction, shots_.has_value(), &sample_, &tracker_};
}

Frame Corrector::view(const uint32_t* pixels) const {
    // The engine only reads the source; its view type is shared with the
    // destination.
    return top_down_view(const_cast<uint32_t*>(pixels), width_, height_);
}

void Corrector::pass(const uint32_t* src, uint32_t* dst) {
    run_frame_pass(fd_, view(src), view(dst), nullptr, analysis_plan_);
}

void Corrector::warm_up(const uint32_t* src, uint32_t* dst) {
    // Given levels never look at the history, and balance's run starts
    // with the frame's own light.
    if (!plan_.given.empty() || analysis_plan_.correction == Correction::kBalance) return;
    for (int i = 0; i < kHistory - 1; ++i) pass(src, dst);
}

void Corrector::look_ahead(const uint32_t* next) {
    FrameAnalysis& a = analyses_[frames_seen_ % kAnalyses];
    analyse_frame(fd_, view(next), a, analysis_plan_);
    see_frame(a, next, width_, height_, sight_);
    ++frames_seen_;
    if (const std::optional<ShotCall> verdict = shots_->next(sight_.report, sight_.thumbnail))
        shot_call_ = verdict;
}

bool Corrector::correct(const uint32_t* src, uint32_t* dst) {
    // Frame number frames_done_ + 1 (counting from 1): Freeze is switched on
    // once frames 1..freeze_after have been analysed.
    if (freeze_after_ > 0 && frames_done_ == freeze_after_) fd_.freeze = 1;
    FrameAnalysis& a = analyses_[frames_done_ % kAnalyses];
    // Given levels need the frame's counts only for the overlay.
    if (!plan_.given.empty() && !fd_.show_histogram)
        a.settings = snapshot_settings(fd_);
    else if (!shots_)
        analyse_frame(fd_, view(src), a, analysis_plan_);
    FrameRecord& record = last_;
    record = FrameRecord{};
    if (shots_ && ended_ && !shot_call_) shot_call_ = shots_->end();
    if (shots_) {
        record.shot_start = shot_call_ && shot_call_->shot_start;
        if (shot_call_) record.cut_score = shot_call_->cut_score;
    } else {
        record.shot_start = frames_done_ == 0;
    }
    shot_call_.reset();
    if (!plan_.given.empty()) {
        if (size_t(frames_done_) >= plan_.given.size()) return false;
        record = plan_.given[size_t(frames_done_)];
        if (dst) stretch_frame(a, view(src), view(dst), record.report.applied);
    } else {
        // Frame 1 of the plug-in's correction is a fresh instance's.
        const Levels levels =
            step_levels(fd_, light_, a, record.shot_start && frames_done_ > 0, &record.report);
        if (dst)
            stretch_frame(a, view(src), view(dst), levels);
        else
            record.report.applied = record.report.own;
    }
    if (plan_.keep_records && plan_.given.empty()) records_.push_back(record);
    if (dst) keep_alpha(src, dst, size_t(width_) * size_t(height_));
    ++frames_done_;
    return true;
}

}  // namespace kelvra::cli
