// SPDX-License-Identifier: GPL-2.0-or-later
// What the settings dialog allows: slider ranges and the coupling rule that
// keeps the two offsets of a pair from covering the whole frame. The dialog,
// the command-line tool's checks and the race tests share them.
#pragma once

#include <cstdint>

namespace kelvra {

constexpr int32_t kMinLevel = 1;
constexpr int32_t kMaxLevel = 500;
constexpr int32_t kMinOffset = 1;

// Greatest position of an offset slider for a frame dimension (height for UP
// and DOWN, width for LEFT and RIGHT); never below the minimum, so frames of
// fewer than 16 rows or columns still get a 1..1 slider.
int32_t offset_slider_max(int32_t dimension);

// The opposite offset after one offset of a pair moved to `moved`: when the
// pair would leave fewer than 10 rows or columns, the opposite is pulled back
// to exactly the limit less `moved` (a pair that meets the limit stays), but
// never below the minimum offset.
int32_t coupled_opposite(int32_t moved, int32_t opposite, int32_t dimension);

}  // namespace kelvra
