// SPDX-License-Identifier: GPL-2.0-or-later
// Where the frame loop's frames come from: a pipe (an ffmpeg decoder, or
// standard input) or a decoder in this process.
#pragma once

#include <sys/types.h>

#include <cstddef>
#include <string>

namespace kelvra::cli {

class FrameSource {
public:
    virtual ~FrameSource() = default;

    // Reads the next frame's `size` bytes into `buf`: `size` for a frame, 0
    // at the end (`buf` left as it was), fewer when the input ended inside a frame, -1 on an error
    // that `error()` then describes.
    virtual ssize_t read_frame(void* buf, size_t size) = 0;
    virtual std::string error() const = 0;
};

class PipeSource : public FrameSource {
public:
    explicit PipeSource(int fd) : fd_(fd) {}
    ssize_t read_frame(void* buf, size_t size) override;
    std::string error() const override;

private:
    int fd_;
    int errno_ = 0;
};

}  // namespace kelvra::cli
