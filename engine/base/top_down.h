// SPDX-License-Identifier: GPL-2.0-or-later
// Top-down 32-bit BGRA frames, as the tool's pipes and frei0r hosts hand
// them over: the picture's top line first, rows packed, the alpha byte the
// picture's own.
#pragma once

#include <cstddef>
#include <cstdint>

#include "base/frame.h"

namespace kelvra {

// The engine's bottom-up view of a width x height top-down buffer: the last
// row in memory is the picture's bottom line, so UP and DOWN mean what they
// mean in the editor.
inline Frame top_down_view(uint32_t* pixels, int32_t width, int32_t height) {
    const ptrdiff_t pitch = ptrdiff_t{width} * 4;
    return Frame{pixels + (ptrdiff_t{height} - 1) * width, width, height, -pitch};
}

// The frame pass clears the top byte; this puts the source's alpha back.
inline void keep_alpha(const uint32_t* src, uint32_t* dst, size_t pixels) {
    for (size_t i = 0; i < pixels; ++i) dst[i] |= src[i] & 0xFF000000u;
}

}  // namespace kelvra
