// SPDX-License-Identifier: GPL-2.0-or-later
// Whole-buffer reads and writes on the pipes to and from ffmpeg, retried
// after signals unless the run is being interrupted.
#pragma once

#include <sys/types.h>

#include <cstddef>

namespace kelvra::cli {

// Bytes read before the stream ended (short only at its end), or -1.
ssize_t read_full(int fd, void* buf, size_t size);

bool write_full(int fd, const void* buf, size_t size);

}  // namespace kelvra::cli
