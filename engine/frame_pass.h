// SPDX-License-Identifier: GPL-2.0-or-later
// The frame pass: measure the source, compute six end points, stretch every
// pixel into the destination, then draw the analysis outline (dialog open,
// border set) and the histogram overlay. `src` and `dst` have the same size
// and may be the same buffer. A caller that looks across frames passes a
// report to learn what the frame measured and which levels it got, or runs
// the two halves itself: measure a frame, decide, then stretch it.
#pragma once

#include "channel_counts.h"
#include "end_points.h"
#include "filter_data.h"
#include "frame.h"
#include "gisto.h"

namespace kelvra {

void run_frame_pass(FilterData& fd, const Frame& src, const Frame& dst, FrameReport* report = nullptr);

// A frame measured and not yet stretched.
struct FrameAnalysis {
    Settings settings;  // read once, at the measurement
    gisto hist;
    ChannelCounts source_counts;  // the whole frame's, kept only for the overlay
};

// The first half: counts and analyses the source; the record is only read.
void analyse_frame(const FilterData& fd, const Frame& src, FrameAnalysis& analysis);

// The second half: history, averaging, stretch, outline and overlay.
void finish_frame_pass(FilterData& fd, const FrameAnalysis& analysis, const Frame& src, const Frame& dst,
                       FrameReport* report);

// Stretch, outline and overlay with levels the caller chose; the history is
// not touched.
void stretch_frame(const FrameAnalysis& analysis, const Frame& src, const Frame& dst, const Levels& levels);

}  // namespace kelvra
