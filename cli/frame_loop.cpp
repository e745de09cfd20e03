#include "frame_loop.h"

#include <cerrno>
#include <cstring>

#include "interrupt.h"
#include "pipe_io.h"

namespace kelvra::cli {
LoopResult run_frame_loop(int in_fd, int out_fd, Corrector& corrector, int32_t width, int32_t height,
                          bool warm_start, ProgressBar& progress, CompareCapture* compare) {
    const size_t pixels = size_t(width) * size_t(height);
    const size_t bytes = pixels * 4;
    std::vector<uint32_t> in(pixels), out(pixels);
    LoopResult r;
    for (;;) {
        const ssize_t got = read_full(in_fd, in.data(), bytes);
        if (interrupted()) {
            r.status = LoopResult::kInterrupted;
            break;
        }
        if (got < 0) {
            r.status = LoopResult::kReadFailed;
            r.detail = std::strerror(errno);
            break;
        }
        if (got == 0) break;
        if (size_t(got) < bytes) {
            r.status = LoopResult::kTruncated;
            r.detail = "the input ended inside frame " + std::to_string(r.frames + 1) + " (" +
                       std::to_string(got) + " of " + std::to_string(bytes) + " bytes)";
            break;
        }
        if (warm_start && r.frames == 0) corrector.warm_up(in.data(), out.data());
        corrector.correct(in.data(), out.data());
        ++r.frames;
        if (compare && r.frames == compare->frame) {
            compare->before = in;
            compare->after = out;
            compare->captured = true;
        }
        if (!write_full(out_fd, out.data(), bytes)) {
            r.status = interrupted() ? LoopResult::kInterrupted : LoopResult::kWriteFailed;
            r.detail = std::strerror(errno);
            break;
        }
        progress.update(r.frames);
    }
    return r;
}

}  // namespace kelvra::cli
