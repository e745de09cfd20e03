// SPDX-License-Identifier: GPL-2.0-or-later
// The levels --steady gives a shot: for each of the six, the median of the
// shot's frames' own levels. A median, not a mean, so a flash or a few odd
// frames inside a shot do not move the whole shot's correction; taken level
// by level it still keeps every low at or below its high, because a median
// of values each at most their partner is at most the partners' median. The
// lower middle value of an even count, so every level is one a frame had.
#pragma once

#include <vector>

#include "levels/corrector.h"

namespace kelvra::cli {

// Sets every record's `applied` to its shot's levels (shots start at the
// records marked so; the first record always starts one). With `disable`
// every shot gets no correction, as the one-pass tool gives it.
void choose_steady_levels(std::vector<FrameRecord>& records, bool disable);

}  // namespace kelvra::cli
