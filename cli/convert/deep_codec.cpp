// SPDX-License-Identifier: GPL-2.0-or-later
#include "convert/deep_codec.h"

#include <algorithm>

namespace kelvra::cli {

DeepCodec::DeepCodec(int32_t width, int32_t height, bool alpha, bool overlay)
    : FrameCodec(width, height), alpha_(alpha) {
    if (overlay) overlay_.emplace(width, height);
}

DeepFrame DeepCodec::planes(const FrameSlot& slot) const {
    // ffmpeg's planar RGB holds green, blue, red, then alpha.
    auto* samples = reinterpret_cast<uint16_t*>(const_cast<uint32_t*>(slot.input.data()));
    return DeepFrame{samples + 2 * pixels(), samples, samples + pixels(), width(), height()};
}

bool DeepCodec::translucent(const FrameSlot& slot) const {
    if (!alpha_) return false;
    const auto* alpha = reinterpret_cast<const uint16_t*>(slot.input.data()) + 3 * pixels();
    return std::any_of(alpha, alpha + pixels(), [](uint16_t a) { return a != 0xFFFF; });
}

void DeepCodec::make_picture(FrameSlot& slot) {
    reduce_to_pixels(planes(slot), slot.picture.data());
    slot.engine = slot.picture.data();
}

const void* DeepCodec::encode(FrameSlot& slot, const uint32_t*, const Levels& applied, size_t& size) {
    const DeepFrame frame = planes(slot);
    stretch_.apply(applied, frame);
    if (overlay_) overlay_->draw(frame, count_reduced(frame));
    size = input_bytes();
    return slot.input.data();
}

void DeepCodec::compare_after(const FrameSlot& slot, const uint32_t*, std::vector<uint32_t>& out) {
    out.resize(pixels());
    reduce_to_pixels(planes(slot), out.data());
}

}  // namespace kelvra::cli
