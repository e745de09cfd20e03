// SPDX-License-Identifier: GPL-2.0-or-later
// Six levels stretch a frame: each channel's low goes to 0 and its high to
// 255. Both corrections end in them.
#pragma once

#include <cstdint>

#include "base/filter_data.h"

namespace kelvra {

struct Levels {
    int32_t v[kLevels];  // low R, G, B, high R, G, B
};

}  // namespace kelvra
