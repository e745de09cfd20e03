// The frame pass: measure the source, compute six end points, stretch every
// pixel into the destination, then draw the analysis outline (dialog open,
// border set) and the histogram overlay. `src` and `dst` have the same size
// and may be the same buffer.
#pragma once

#include "filter_data.h"
#include "frame.h"

namespace kelvra {

void run_frame_pass(FilterData& fd, const Frame& src, const Frame& dst);

}  // namespace kelvra
