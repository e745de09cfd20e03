// SPDX-License-Identifier: GPL-2.0-or-later
// The histogram overlay on a deep picture: the same lines and bars as on an
// 8-bit picture, each colour byte scaled by 257 to the 16-bit range, so the
// reduction of an overlay pixel is the 8-bit overlay's colour.
#pragma once

#include <cstdint>
#include <vector>

#include "base/channel_counts.h"
#include "stretch/deep_frame.h"

namespace kelvra {

class DeepOverlay {
public:
    // The overlay is first drawn on an 8-bit strip as wide as it can reach,
    // allocated here once.
    DeepOverlay(int32_t width, int32_t height);

    void draw(const DeepFrame& frame, const ChannelCounts& counts);

private:
    std::vector<uint32_t> strip_;
    int32_t strip_width_, height_;
};

}  // namespace kelvra
