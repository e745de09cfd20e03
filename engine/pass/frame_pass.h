// SPDX-License-Identifier: GPL-2.0-or-later
// The frame pass: measure the source, compute six end points, stretch every
// pixel into the destination, then draw the analysis outline (dialog open,
// border set) and the histogram overlay. `src` and `dst` have the same size
// and may be the same buffer. A caller that looks across frames passes a
// report to learn what the frame measured and which levels it got, or runs
// the two halves itself: measure a frame, decide, then stretch it.
//
// The editor's plug-in runs the plug-in's correction; the other bindings
// choose between it and balance through an analysis plan, and this is the
// one place where the choice takes effect.
#pragma once

#include "balance/balance.h"
#include "balance/balance_sample.h"
#include "balance/light_cells.h"
#include "balance/light_tracker.h"
#include "balance/shot_light.h"
#include "base/channel_counts.h"
#include "base/correction.h"
#include "base/filter_data.h"
#include "base/frame.h"
#include "plugin/end_points.h"
#include "plugin/gisto.h"

namespace kelvra {

// How a frame is measured. The plug-in's correction always counts the
// histograms; balance measures its sample, and counts only where something
// else needs the histograms: the overlay, the cut detector's shapes.
struct AnalysisPlan {
    Correction correction = Correction::kPlugin;
    bool counts = true;
    BalanceSample* sample = nullptr;  // required for balance
    LightTracker* light = nullptr;    // required for balance: the run's light, frame after frame
};

// The whole pass with the record's five-frame history; the editor's plug-in
// runs it with the default plan.
void run_frame_pass(FilterData& fd, const Frame& src, const Frame& dst, FrameReport* report = nullptr,
                    const AnalysisPlan& plan = {});

// A frame measured and not yet stretched.
struct FrameAnalysis {
    Settings settings;  // read once, at the measurement
    Correction correction;
    bool counted;  // `hist` holds the analysis region's counts
    gisto hist;
    ChannelCounts source_counts;  // the whole frame's, kept only for the overlay
    BalancePoints balance;        // with balance
    LightCells cells;             // with balance: its light, cell by cell
    FrameLight light;             // with balance: the run's light in this frame
};

// The first half: measures the source; the record is only read.
void analyse_frame(const FilterData& fd, const Frame& src, FrameAnalysis& analysis,
                   const AnalysisPlan& plan = {});

// The frame's own levels by its correction, before Freeze and averaging.
Levels own_levels(const FrameAnalysis& analysis);

// Everything the frame measured, and its own levels; `applied` is left to
// the caller.
void describe_frame(const FrameAnalysis& analysis, FrameReport& report);

// The frame's levels as the next step of a run of frames, which
// `shot_start` starts at the frame: the plug-in's correction averages over
// the record's history (filled with the frame's own levels at a start),
// balance follows the shot's light; then Freeze and Disable. Fills `report`
// with what the frame measured and got, when one is given.
Levels step_levels(FilterData& fd, ShotLight& light, const FrameAnalysis& analysis, bool shot_start,
                   FrameReport* report);

// Stretch, outline and overlay with levels the caller chose; the history is
// not touched.
void stretch_frame(const FrameAnalysis& analysis, const Frame& src, const Frame& dst, const Levels& levels);

// The overlay alone, for a frame measured on a lattice of every step-th
// pixel of every step-th row: each count stands for step x step pixels.
void draw_lattice_overlay(const FrameAnalysis& analysis, const Levels& levels, int32_t step,
                          const Frame& dst);

}  // namespace kelvra
