// SPDX-License-Identifier: GPL-2.0-or-later
// The frame loop: frames in as the codec reads them, corrected frames out,
// one at a time through buffers allocated once.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "convert/frame_codec.h"
#include "input/frame_source.h"
#include "levels/corrector.h"
#include "report/progress.h"

namespace kelvra::cli {

// A frame kept before and after correction for the compare picture: the
// one asked for, or the last where the input ends before it.
struct CompareCapture {
    int64_t frame = 1;  // counting from 1; the frame kept, once the loop is done
    std::vector<uint32_t> before, after;
};

struct LoopResult {
    enum Status { kDone, kReadFailed, kTruncated, kWriteFailed, kInterrupted, kUnplanned } status = kDone;
    int64_t frames = 0;
    std::string detail;  // what went wrong, for the failures
};

// Reads frames from `source` until it ends, corrects them
// and writes them to `out_fd`; with `out_fd` -1 they are only measured. With
// `warm_start` the first frame fills the history first (a still image is a
// one-frame sequence with a warm start). A corrector that looks ahead sees
// the frames it asks for after a frame before that frame is corrected.
// kUnplanned: the input gave a frame the corrector's given levels have no
// record for.
LoopResult run_frame_loop(FrameSource& source, int out_fd, FrameCodec& codec, Corrector& corrector,
                          bool warm_start, ProgressBar& progress, CompareCapture* compare);

}  // namespace kelvra::cli
