// SPDX-License-Identifier: GPL-2.0-or-later
#include "input/frame_source.h"

#include <cerrno>
#include <cstring>

#include "process/pipe_io.h"

namespace kelvra::cli {

ssize_t PipeSource::read_frame(void* buf, size_t size) {
    const ssize_t got = read_full(fd_, buf, size);
    if (got < 0) errno_ = errno;
    return got;
}

std::string PipeSource::error() const { return std::strerror(errno_); }

}  // namespace kelvra::cli
