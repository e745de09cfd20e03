// SPDX-License-Identifier: GPL-2.0-or-later
#include "convert/frame_codec.h"

#include <algorithm>

namespace kelvra::cli {

FrameSlot FrameCodec::make_slot() const {
    return FrameSlot{FrameBuffer<uint32_t>((input_bytes() + 3) / 4),
                     FrameBuffer<uint32_t>(own_picture() ? pixels() : 0)};
}

bool FrameCodec::translucent(const FrameSlot& slot) const {
    return std::any_of(slot.engine, slot.engine + pixels(), [](uint32_t bgra) { return bgra < 0xFF000000u; });
}

void FrameCodec::compare_after(const FrameSlot&, const uint32_t* corrected, std::vector<uint32_t>& out) {
    out.assign(corrected, corrected + pixels());
}

}  // namespace kelvra::cli
