// Kernels that add the channel bytes of a block of pixels to counts. The
// plain one increments one table per channel; the split one spreads
// neighbouring pixels over four tables per channel so that equal values next
// to each other do not wait on each other's stores, then adds the tables up.
// Both give the same counts.
#pragma once

#include <cstddef>
#include <cstdint>

#include "channel_counts.h"

namespace kelvra {

// `first` points at the block's first pixel in its lowest row; `pitch` is
// the distance in bytes from one row to the next.
void count_block_c(const uint32_t* first, ptrdiff_t pitch, int32_t width, int32_t height,
                   ChannelCounts& counts);
void count_block_split(const uint32_t* first, ptrdiff_t pitch, int32_t width, int32_t height,
                       ChannelCounts& counts);

}  // namespace kelvra
