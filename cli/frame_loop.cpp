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
                          const PipeConversions& conversions, bool warm_start, ProgressBar& progress,
                          CompareCapture* compare) {
    const size_t pixels = size_t(width) * size_t(height);
    std::vector<uint32_t> in(pixels), out(pixels);
    YuvToBgra* const from_input = conversions.from_input;
    BgraToYuv* const to_output = conversions.to_output;
    std::vector<uint8_t> raw_in(from_input ? from_input->frame_bytes() : 0);
    std::vector<uint8_t> raw_out(to_output ? to_output->frame_bytes() : 0);
    const size_t in_bytes = from_input ? raw_in.size() : pixels * 4;
    const size_t out_bytes = to_output ? raw_out.size() : pixels * 4;
    void* const in_buffer = from_input ? static_cast<void*>(raw_in.data()) : in.data();
    const void* const out_buffer = to_output ? static_cast<const void*>(raw_out.data()) : out.data();
    LoopResult r;
    for (;;) {
        const ssize_t got = read_full(in_fd, in_buffer, in_bytes);
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
        if (size_t(got) < in_bytes) {
            r.status = LoopResult::kTruncated;
            r.detail = "the input ended inside frame " + std::to_string(r.frames + 1) + " (" +
                       std::to_string(got) + " of " + std::to_string(in_bytes) + " bytes)";
            break;
        }
        if (from_input) from_input->convert(raw_in.data(), in.data());
        if (warm_start && r.frames == 0) corrector.warm_up(in.data(), out.data());
        corrector.correct(in.data(), out.data());
        ++r.frames;
        if (compare && r.frames == compare->frame) {
            compare->before = in;
            compare->after = out;
            compare->captured = true;
        }
        if (to_output) to_output->convert(out.data(), raw_out.data());
        if (!write_full(out_fd, out_buffer, out_bytes)) {
            r.status = interrupted() ? LoopResult::kInterrupted : LoopResult::kWriteFailed;
            r.detail = std::strerror(errno);
            break;
        }
        progress.update(r.frames);
    }
    return r;
}

}  // namespace kelvra::cli
