// The frame loop: raw frames in, corrected frames out, one at a time through
// buffers allocated once. Frames cross the pipes as top-down BGRA, or as YUV
// converted to and from BGRA here.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "corrector.h"
#include "progress.h"
#include "yuv_conversion.h"

namespace kelvra::cli {

// A frame kept before and after correction for the compare picture.
struct CompareCapture {
    int64_t frame = 1;  // counting from 1
    std::vector<uint32_t> before, after;
    bool captured = false;
};

struct LoopResult {
    enum Status { kDone, kReadFailed, kTruncated, kWriteFailed, kInterrupted } status = kDone;
    int64_t frames = 0;
    std::string detail;  // what went wrong, for the failures
};

// Null where the pipe carries BGRA.
struct PipeConversions {
    YuvToBgra* from_input = nullptr;
    BgraToYuv* to_output = nullptr;
};

// Reads frames of width x height from `in_fd` until it ends, corrects them
// and writes them to `out_fd`. With `warm_start` the first frame fills the
// history first (a still image is a one-frame sequence with a warm start).
LoopResult run_frame_loop(int in_fd, int out_fd, Corrector& corrector, int32_t width, int32_t height,
                          const PipeConversions& conversions, bool warm_start, ProgressBar& progress,
                          CompareCapture* compare);

}  // namespace kelvra::cli
