// SPDX-License-Identifier: GPL-2.0-or-later
// Counting the source: the analysis region into the histogram and, for the
// overlay, the whole frame.
#pragma once

#include "base/channel_counts.h"
#include "base/frame.h"
#include "base/region.h"
#include "plugin/gisto.h"

namespace kelvra {

// Counts the region into `hist` and, when `whole` is given, every pixel of
// the frame into it, in one sweep over the rows.
void count_source(const Frame& src, const Region& region, gisto& hist, ChannelCounts* whole);

}  // namespace kelvra
