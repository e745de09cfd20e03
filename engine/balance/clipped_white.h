// SPDX-License-Identifier: GPL-2.0-or-later
// A white at the clip in one channel and not in another shows the clip, not
// the light: a gain above it is hidden. A camera set for the wrong light
// clips that way, and so does a highlight that only just reached the top.
#pragma once

#include <cstdint>

#include "balance/balance.h"

namespace kelvra {

// Moves the measured white of `pixels` to the light's colour where a gain
// hides above the clip. `below` has room for kBalanceScratch pixels.
void see_past_clip(const uint32_t* pixels, int32_t count, uint32_t* below, BalancePoints& p);

}  // namespace kelvra
