// SPDX-License-Identifier: GPL-2.0-or-later
#include "command/frame_loop.h"

#include <cerrno>
#include <cstring>
#include <vector>

#include "process/interrupt.h"
#include "process/pipe_io.h"

namespace kelvra::cli {

LoopResult run_frame_loop(FrameSource& source, int out_fd, FrameCodec& codec, Corrector& corrector,
                          bool warm_start, ProgressBar& progress, CompareCapture* compare) {
    const size_t bytes = codec.input_bytes();
    // A ring of slots: the frames read and not yet corrected, and the next.
    const int64_t ahead = corrector.frames_ahead(), ring = ahead + 1;
    std::vector<FrameSlot> slots;
    for (int64_t i = 0; i < ring; ++i) slots.push_back(codec.make_slot());
    FrameBuffer<uint32_t> out(out_fd >= 0 ? codec.pixels() : 0);
    int64_t frames_read = 0;
    LoopResult r;
    // The compare picture is taken after `encode`, which may change the
    // frame as read, but the engine's picture of it stays as it was made.
    const auto capture = [&](const FrameSlot& slot) {
        compare->frame = r.frames;
        compare->before.assign(slot.engine, slot.engine + codec.pixels());
        codec.compare_after(slot, out.data(), compare->after);
    };
    const auto emit = [&](FrameSlot& slot) {
        const uint32_t* src = slot.engine;
        uint32_t* dst = out_fd >= 0 ? out.data() : nullptr;
        if (warm_start && r.frames == 0 && dst) corrector.warm_up(src, dst);
        if (!corrector.correct(src, dst)) {
            r.status = LoopResult::kUnplanned;
            r.detail = "frame " + std::to_string(r.frames + 1) + " was not there the first time";
            return false;
        }
        ++r.frames;
        if (dst) {
            size_t size = 0;
            const void* encoded = codec.encode(slot, dst, corrector.applied_levels(), size);
            if (compare && r.frames == compare->frame) capture(slot);
            if (!write_full(out_fd, encoded, size)) {
                r.status = interrupted() ? LoopResult::kInterrupted : LoopResult::kWriteFailed;
                r.detail = std::strerror(errno);
                return false;
            }
        }
        progress.update(r.frames);
        return true;
    };
    for (;;) {
        FrameSlot& in = slots[size_t(frames_read % ring)];
        const ssize_t got = source.read_frame(in.input.data(), bytes);
        if (interrupted()) {
            r.status = LoopResult::kInterrupted;
            break;
        }
        if (got < 0) {
            r.status = LoopResult::kReadFailed;
            r.detail = source.error();
            break;
        }
        if (got == 0) break;
        if (size_t(got) < bytes) {
            r.status = LoopResult::kTruncated;
            r.detail = "the input ended inside frame " + std::to_string(frames_read + 1) + " (" +
                       std::to_string(got) + " of " + std::to_string(bytes) + " bytes)";
            break;
        }
        ++frames_read;
        codec.make_picture(in);
        codec.look_at_alpha(in);
        if (ahead) corrector.look_ahead(in.engine);
        if (frames_read - r.frames > ahead && !emit(slots[size_t(r.frames % ring)])) break;
    }
    if (r.status == LoopResult::kDone) {
        if (ahead) corrector.end_of_input();
        while (r.frames < frames_read && emit(slots[size_t(r.frames % ring)])) {
        }
    }
    // An input that ended before the frame asked for: the last frame emitted
    // is still in its slot (a read that finds the end leaves it) and in `out`.
    if (compare && out_fd >= 0 && r.status == LoopResult::kDone && r.frames > 0 && r.frames < compare->frame)
        capture(slots[size_t((r.frames - 1) % ring)]);
    return r;
}

}  // namespace kelvra::cli
