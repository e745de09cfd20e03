// Counting the analysis region into the histogram.
#pragma once

#include "frame.h"
#include "gisto.h"
#include "region.h"

namespace kelvra {

void count_region(const Frame& src, const Region& region, gisto& hist);

}  // namespace kelvra
