// SPDX-License-Identifier: GPL-2.0-or-later
#include "floor_kernel.h"

uint32_t floor_pass(const kelvra::Frame& src, const kelvra::Frame& dst) {
    uint32_t seen = 0;
    for (int32_t y = 0; y < src.height; ++y) {
        const uint32_t* in = src.row(y);
        for (int32_t x = 0; x < src.width; ++x) seen |= in[x];
    }
    for (int32_t y = 0; y < src.height; ++y) {
        const uint32_t* in = src.row(y);
        uint32_t* out = dst.row(y);
        for (int32_t x = 0; x < src.width; ++x) out[x] = in[x] & 0xFFFFFF;
    }
    return seen;
}
