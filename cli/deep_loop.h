// The frame loop for deep inputs: frames of 16-bit planar RGB (ffmpeg's
// gbrp16le, or gbrap16le with alpha) in and out. Each frame is reduced to
// 8 bits and corrected by the same Corrector as an 8-bit input, so the
// analysis, history and settings behave alike; the levels that correction
// applied then stretch the 16-bit samples, and the alpha plane passes as it
// is.
#pragma once

#include <cstdint>

#include "corrector.h"
#include "frame_loop.h"
#include "progress.h"

namespace kelvra::cli {

struct DeepPicture {
    int32_t width, height;
    bool alpha;    // a fourth plane
    bool overlay;  // draw the histograms
};

// As run_frame_loop; the compare picture gets the 8-bit reductions of the
// frame before and after.
LoopResult run_deep_frame_loop(int in_fd, int out_fd, Corrector& corrector, const DeepPicture& picture,
                               bool warm_start, ProgressBar& progress, CompareCapture* compare);

}  // namespace kelvra::cli
