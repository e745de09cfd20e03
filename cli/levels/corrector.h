// SPDX-License-Identifier: GPL-2.0-or-later
// One fresh plug-in instance as the editor renders with it: dialog closed,
// five-frame history from the defaults, no outline; with balance, the same
// instance with balance following the shot's light in place of the history
// (Freeze and Disable as the plug-in's). Frames are top-down
// 32-bit BGRA buffers (ffmpeg's `bgra`), the picture's top line first, so UP
// and DOWN mean what they mean in the editor.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

#include "balance/shot_light.h"
#include "base/filter_data.h"
#include "base/frame.h"
#include "levels/settings.h"
#include "pass/frame_pass.h"
#include "time/shot_sight.h"
#include "time/shots.h"

namespace kelvra::cli {

// Writes the settings into a record's fields; the rest stays as it is.
void apply_settings(FilterData& fd, const CorrectionSettings& settings);

// What one frame measured and got, and whether it starts a shot.
struct FrameRecord {
    FrameReport report;
    bool shot_start = false;
    std::optional<double> cut_score;  // where the cut detector ran
};

// How each frame's levels are chosen. By default the engine's run goes on
// over the frames (balance's light, the plug-in's five-frame history as in
// the editor); with cut rules it restarts from the frame's
// own levels at every shot start after frame 1 (frame 1 is the warm start's
// business), which needs the detector's look-ahead; with given records every
// frame is stretched with its record's `applied` levels.
struct LevelPlan {
    CutRules cuts;
    std::vector<FrameRecord> given;
    bool keep_records = false;
};

class Corrector {
public:
    Corrector(const CorrectionSettings& settings, int32_t width, int32_t height, LevelPlan plan = {});
    // The analysis plan points into the object.
    Corrector(const Corrector&) = delete;
    Corrector& operator=(const Corrector&) = delete;

    // How many frames after a frame must be shown to look_ahead() before it
    // is corrected (fewer only at the end of the input).
    int frames_ahead() const { return shots_ ? ShotFinder::kLookAhead : 0; }
    void look_ahead(const uint32_t* next);
    // No frame follows the ones shown to look_ahead().
    void end_of_input() { ended_ = true; }

    // Corrects the next frame of the sequence into `dst` (may equal `src`
    // only when the alpha channel does not matter). The engine clears the
    // top byte; the source's alpha is put back. Without `dst` the frame is
    // only measured. False when given levels have no record for this frame.
    bool correct(const uint32_t* src, uint32_t* dst);

    // Runs the first frame through the pass four extra times, so the history
    // holds its own end points and it gets the full correction.
    void warm_up(const uint32_t* src, uint32_t* dst);

    int64_t frames_done() const { return frames_done_; }
    // The six levels the last frame was stretched with, for a stretch of the
    // same frame at another depth.
    const Levels& applied_levels() const { return last_.report.applied; }
    // One per frame corrected, with keep_records; the given ones when given.
    const std::vector<FrameRecord>& records() const { return plan_.given.empty() ? records_ : plan_.given; }

private:
    void pass(const uint32_t* src, uint32_t* dst);
    Frame view(const uint32_t* pixels) const;

    FilterData fd_;
    int32_t width_, height_;
    int64_t freeze_after_;
    int64_t frames_done_ = 0;
    LevelPlan plan_;
    std::optional<ShotFinder> shots_;
    AnalysisPlan analysis_plan_;
    LightTracker tracker_;
    ShotLight light_;
    BalanceSample sample_;
    // The frame being corrected and the ones looked at after it, a ring.
    static constexpr int kAnalyses = ShotFinder::kLookAhead + 1;
    std::unique_ptr<FrameAnalysis[]> analyses_;
    int64_t frames_seen_ = 0;
    bool ended_ = false;
    ShotSight sight_;                    // of the frame looked at last
    std::optional<ShotCall> shot_call_;  // on frame frames_done_ + 1, once known
    std::vector<FrameRecord> records_;
    FrameRecord last_;
};

}  // namespace kelvra::cli
