// SPDX-License-Identifier: GPL-2.0-or-later
// The red outline of the analysis region, drawn while the dialog is open.
#pragma once

#include "base/channel_counts.h"
#include "base/filter_data.h"
#include "base/frame.h"

namespace kelvra {

constexpr uint32_t kOutlineColour = 0xFF0000;

// Top and right edges lie one position outside the region, bottom and left on
// its first row and column; the four corners stay unpainted. Only the pixels
// inside the frame are written. When `counts` holds the frame's counts they
// follow every pixel painted (a pixel painted twice is counted once).
void draw_outline(const Frame& dst, const Settings& settings, ChannelCounts* counts);

}  // namespace kelvra
