// SPDX-License-Identifier: GPL-2.0-or-later
// A deliberately plain second implementation of the frame pass, written for
// clarity over contiguous bottom-up frames: per-pixel doubles, no tables, the
// histogram overlay drawn by testing every pixel. The engine must match it
// bit for bit.
#pragma once

#include <cstdint>
#include <vector>

#include "base/filter_data.h"

namespace plain {

void frame_pass(kelvra::FilterData& fd, const std::vector<uint32_t>& src, std::vector<uint32_t>& dst, int w,
                int h);

}  // namespace plain
