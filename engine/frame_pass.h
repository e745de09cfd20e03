// The frame pass: measure the source, compute six end points, stretch every
// pixel into the destination, then draw the analysis outline (dialog open,
// border set) and the histogram overlay. `src` and `dst` have the same size
// and may be the same buffer. A caller that looks across frames passes a
// report to learn what the frame measured and which levels it got.
#pragma once

#include "end_points.h"
#include "filter_data.h"
#include "frame.h"

namespace kelvra {

void run_frame_pass(FilterData& fd, const Frame& src, const Frame& dst, FrameReport* report = nullptr);

}  // namespace kelvra
