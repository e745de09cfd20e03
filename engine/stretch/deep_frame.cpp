// SPDX-License-Identifier: GPL-2.0-or-later
#include "stretch/deep_frame.h"

#include <cstring>

namespace kelvra {

void reduce_to_pixels(const DeepFrame& f, uint32_t* pixels) {
    const size_t n = f.samples();
    for (size_t i = 0; i < n; ++i) {
        pixels[i] = uint32_t{reduce_sample(f.r[i])} << 16 | uint32_t{reduce_sample(f.g[i])} << 8 |
                    reduce_sample(f.b[i]);
    }
}

ChannelCounts count_reduced(const DeepFrame& f) {
    ChannelCounts c;
    std::memset(&c, 0, sizeof c);
    const size_t n = f.samples();
    for (size_t i = 0; i < n; ++i) {
        ++c.r[reduce_sample(f.r[i])];
        ++c.g[reduce_sample(f.g[i])];
        ++c.b[reduce_sample(f.b[i])];
    }
    return c;
}

}  // namespace kelvra
