// SPDX-License-Identifier: GPL-2.0-or-later
#include "overlay/deep_overlay.h"

#include <algorithm>

#include "overlay/overlay.h"

namespace kelvra {

DeepOverlay::DeepOverlay(int32_t width, int32_t height)
    : strip_(size_t(std::min(width, kOverlayColumns)) * size_t(height)),
      strip_width_(std::min(width, kOverlayColumns)),
      height_(height) {}

void DeepOverlay::draw(const DeepFrame& frame, const ChannelCounts& counts) {
    std::fill(strip_.begin(), strip_.end(), 0u);
    // Top-down strip, seen bottom-up as the overlay draws.
    const ptrdiff_t pitch = ptrdiff_t{strip_width_} * 4;
    draw_overlay(
        Frame{strip_.data() + (ptrdiff_t{height_} - 1) * strip_width_, strip_width_, height_, -pitch},
        counts);
    // Every overlay colour is nonzero, so zero marks an untouched pixel.
    for (int32_t y = 0; y < height_; ++y) {
        for (int32_t x = 0; x < strip_width_; ++x) {
            const uint32_t p = strip_[size_t(y) * size_t(strip_width_) + size_t(x)];
            if (p == 0) continue;
            const size_t i = size_t(y) * size_t(frame.width) + size_t(x);
            frame.r[i] = static_cast<uint16_t>((p >> 16 & 0xFF) * 257);
            frame.g[i] = static_cast<uint16_t>((p >> 8 & 0xFF) * 257);
            frame.b[i] = static_cast<uint16_t>((p & 0xFF) * 257);
        }
    }
}

}  // namespace kelvra
