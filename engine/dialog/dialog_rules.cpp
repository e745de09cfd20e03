// SPDX-License-Identifier: GPL-2.0-or-later
#include "dialog/dialog_rules.h"

#include "base/x86_arith.h"

namespace kelvra {

int32_t offset_slider_max(int32_t dimension) {
    const int32_t max = wrap_sub(dimension, 15);
    return max < kMinOffset ? kMinOffset : max;
}

int32_t coupled_opposite(int32_t moved, int32_t opposite, int32_t dimension) {
    // Stored offsets can be anything a script line held: int32 arithmetic
    // wraps as it does on the hardware.
    if (moved <= wrap_sub(wrap_sub(dimension, opposite), 10)) return opposite;
    const int32_t pulled = wrap_sub(wrap_sub(dimension, 10), moved);
    return pulled < kMinOffset ? kMinOffset : pulled;
}

}  // namespace kelvra
