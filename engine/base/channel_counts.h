// SPDX-License-Identifier: GPL-2.0-or-later
// Raw red, green and blue counts of a set of pixels, bin by bin.
#pragma once

#include <cstdint>

namespace kelvra {

struct ChannelCounts {
    int32_t r[256], g[256], b[256];
};

}  // namespace kelvra
