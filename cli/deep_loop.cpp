#include "deep_loop.h"

#include <cerrno>
#include <cstring>
#include <optional>
#include <vector>

#include "deep_frame.h"
#include "deep_overlay.h"
#include "deep_stretch.h"
#include "interrupt.h"
#include "pipe_io.h"

namespace kelvra::cli {

LoopResult run_deep_frame_loop(int in_fd, int out_fd, Corrector& corrector, const DeepPicture& picture,
                               bool warm_start, ProgressBar& progress, CompareCapture* compare) {
    const size_t pixels = size_t(picture.width) * size_t(picture.height);
    const size_t bytes = pixels * (picture.alpha ? 4 : 3) * sizeof(uint16_t);
    std::vector<uint16_t> planes(bytes / sizeof(uint16_t));
    // ffmpeg's planar RGB holds green, blue, red, then alpha.
    const DeepFrame frame{planes.data() + 2 * pixels, planes.data(), planes.data() + pixels, picture.width,
                          picture.height};
    std::vector<uint32_t> reduced(pixels), corrected(pixels);
    DeepStretch stretch;
    std::optional<DeepOverlay> overlay;
    if (picture.overlay) overlay.emplace(picture.width, picture.height);
    LoopResult r;
    for (;;) {
        const ssize_t got = read_full(in_fd, planes.data(), bytes);
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
        reduce_to_pixels(frame, reduced.data());
        if (warm_start && r.frames == 0) corrector.warm_up(reduced.data(), corrected.data());
        corrector.correct(reduced.data(), corrected.data());
        stretch.apply(corrector.applied_levels(), frame);
        if (overlay) overlay->draw(frame, count_reduced(frame));
        ++r.frames;
        if (compare && r.frames == compare->frame) {
            compare->before = reduced;
            compare->after.resize(pixels);
            reduce_to_pixels(frame, compare->after.data());
            compare->captured = true;
        }
        if (!write_full(out_fd, planes.data(), bytes)) {
            r.status = interrupted() ? LoopResult::kInterrupted : LoopResult::kWriteFailed;
            r.detail = std::strerror(errno);
            break;
        }
        progress.update(r.frames);
    }
    return r;
}

}  // namespace kelvra::cli
