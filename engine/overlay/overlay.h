// SPDX-License-Identifier: GPL-2.0-or-later
// Three bar charts of the corrected picture's histograms, drawn over its
// lower left corner in an oblique view: red in front, green and blue each 32
// pixels further right and up, on white base lines joined by slanted lines.
#pragma once

#include <cstdint>

#include "base/channel_counts.h"
#include "base/frame.h"

namespace kelvra {

constexpr uint32_t kOverlayWhite = 0xFFFFFF;
constexpr uint32_t kOverlayRed = 0xFF6464;
constexpr uint32_t kOverlayGreen = 0x64FF64;
constexpr uint32_t kOverlayBlue = 0x6464FF;

// Nothing is drawn right of column 351.
constexpr int32_t kOverlayColumns = 352;

// Draws the overlay for the given counts of the frame's own pixels; parts
// outside the frame are not drawn.
void draw_overlay(const Frame& dst, const ChannelCounts& counts);

}  // namespace kelvra
