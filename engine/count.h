// Counting source pixels: the analysis region into the histogram, and the
// rest of the frame for the overlay's whole-frame counts.
#pragma once

#include "channel_counts.h"
#include "frame.h"
#include "gisto.h"
#include "region.h"

namespace kelvra {

void count_region(const Frame& src, const Region& region, gisto& hist);

// The whole frame's counts, from the region's counts already in `hist` and
// the pixels outside the region.
ChannelCounts count_frame(const Frame& src, const Region& region, const gisto& hist);

}  // namespace kelvra
