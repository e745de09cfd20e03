// SPDX-License-Identifier: GPL-2.0-or-later
#include "base/filter_data.h"

#include <cstring>

namespace kelvra {

void init_filter_data(FilterData& fd, int32_t width, int32_t height) {
    std::memset(&fd, 0, sizeof fd);
    fd.level = 25;
    fd.border = 0;
    fd.disable = 0;
    for (int age = 0; age < kHistory; ++age) {
        for (int c = 0; c < 3; ++c) {
            fd.history[c][age] = 0;
            fd.history[c + 3][age] = 255;
        }
    }
    for (int c = 0; c < 3; ++c) {
        fd.current[c] = 0;
        fd.current[c + 3] = 255;
    }
    fd.dialog_closed = 1;
    fd.show_histogram = 0;
    fd.soft = 0;
    fd.freeze = 0;
    fd.nup = fd.nleft = fd.nright = fd.ndown = 1;
    fd.frame_height = height;
    fd.frame_width = width;
}

Settings snapshot_settings(const FilterData& fd) {
    Settings s;
    s.level = load_relaxed(fd.level);
    s.border = load_relaxed(fd.border);
    s.disable = load_relaxed(fd.disable);
    s.dialog_closed = load_relaxed(fd.dialog_closed);
    s.show_histogram = load_relaxed(fd.show_histogram);
    s.soft = load_relaxed(fd.soft);
    s.freeze = load_relaxed(fd.freeze);
    s.nup = load_relaxed(fd.nup);
    s.nleft = load_relaxed(fd.nleft);
    s.nright = load_relaxed(fd.nright);
    s.ndown = load_relaxed(fd.ndown);
    return s;
}

}  // namespace kelvra
