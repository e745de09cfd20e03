// SPDX-License-Identifier: GPL-2.0-or-later
#include "process/pipe_io.h"

#include <unistd.h>

#include <cerrno>

#include "process/interrupt.h"

namespace kelvra::cli {

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

}  // namespace kelvra::cli
