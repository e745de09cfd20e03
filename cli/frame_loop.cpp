#include "frame_loop.h"

#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "interrupt.h"

namespace kelvra::cli {
namespace {

// Bytes read before the stream ended (short only at its end), or -1.
ssize_t read_full(int fd, void* buf, size_t size) {
    size_t got = 0;
    while (got < size) {
        const ssize_t n = read(fd, static_cast<char*>(buf) + got, size - got);
        if (n == 0) break;
        if (n < 0) {
            if (errno == EINTR && !interrupted()) continue;
            return -1;
        }
        got += size_t(n);
    }
    return ssize_t(got);
}

bool write_full(int fd, const void* buf, size_t size) {
    size_t put = 0;
    while (put < size) {
        const ssize_t n = write(fd, static_cast<const char*>(buf) + put, size - put);
        if (n < 0) {
            if (errno == EINTR && !interrupted()) continue;
            return false;
        }
        put += size_t(n);
    }
    return true;
}

}  // namespace

LoopResult run_frame_loop(int in_fd, int out_fd, Corrector& corrector, int32_t width, int32_t height,
                          bool warm_start, ProgressBar& progress, CompareCapture* compare) {
    const size_t pixels = size_t(width) * size_t(height);
    const size_t bytes = pixels * 4;
    const bool ahead = corrector.looks_ahead();
    std::vector<uint32_t> in(pixels), held(ahead ? pixels : 0), out(out_fd >= 0 ? pixels : 0);
    bool holding = false;
    int64_t frames_read = 0;
    LoopResult r;
    const auto emit = [&](const std::vector<uint32_t>& src) {
        uint32_t* dst = out_fd >= 0 ? out.data() : nullptr;
        if (warm_start && r.frames == 0 && dst) corrector.warm_up(src.data(), dst);
        if (!corrector.correct(src.data(), dst)) {
            r.status = LoopResult::kUnplanned;
            r.detail = "frame " + std::to_string(r.frames + 1) + " was not there the first time";
            return false;
        }
        ++r.frames;
        if (compare && r.frames == compare->frame) {
            compare->before = src;
            compare->after = out;
            compare->captured = true;
        }
        if (dst && !write_full(out_fd, dst, bytes)) {
            r.status = interrupted() ? LoopResult::kInterrupted : LoopResult::kWriteFailed;
            r.detail = std::strerror(errno);
            return false;
        }
        progress.update(r.frames);
        return true;
    };
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
            r.detail = "the input ended inside frame " + std::to_string(frames_read + 1) + " (" +
                       std::to_string(got) + " of " + std::to_string(bytes) + " bytes)";
            break;
        }
        ++frames_read;
        if (!ahead) {
            if (!emit(in)) break;
            continue;
        }
        corrector.look_ahead(in.data());
        if (holding && !emit(held)) break;
        std::swap(in, held);
        holding = true;
    }
    if (holding && r.status == LoopResult::kDone) {
        corrector.end_of_input();
        emit(held);
    }
    return r;
}

}  // namespace kelvra::cli
