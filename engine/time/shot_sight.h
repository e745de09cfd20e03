// SPDX-License-Identifier: GPL-2.0-or-later
// What the cut detector takes of a measured frame: its histograms' coarse
// shape and its thumbnail.
#pragma once

#include <cstdint>

#include "pass/frame_pass.h"
#include "plugin/end_points.h"
#include "time/thumbnail.h"

namespace kelvra {

struct ShotSight {
    FrameReport report;
    Thumbnail thumbnail;
};

// `pixels` is the analysed frame as a top-down buffer.
void see_frame(const FrameAnalysis& analysis, const uint32_t* pixels, int32_t width, int32_t height,
               ShotSight& sight);

}  // namespace kelvra
