// SPDX-License-Identifier: GPL-2.0-or-later
#include "convert/eight_bit_codec.h"

namespace kelvra::cli {

EightBitCodec::EightBitCodec(int32_t width, int32_t height, std::unique_ptr<YuvToBgra> from_input,
                             std::unique_ptr<BgraToYuv> to_output)
    : FrameCodec(width, height),
      from_input_(std::move(from_input)),
      to_output_(std::move(to_output)),
      output_(to_output_ ? to_output_->frame_bytes() : 0) {}

size_t EightBitCodec::input_bytes() const { return from_input_ ? from_input_->frame_bytes() : pixels() * 4; }

void EightBitCodec::make_picture(FrameSlot& slot) {
    if (!from_input_) {
        slot.engine = slot.input.data();
        return;
    }
    from_input_->convert(reinterpret_cast<const uint8_t*>(slot.input.data()), slot.picture.data());
    slot.engine = slot.picture.data();
}

const void* EightBitCodec::encode(FrameSlot&, const uint32_t* corrected, const Levels&, size_t& size) {
    if (!to_output_) {
        size = pixels() * 4;
        return corrected;
    }
    to_output_->convert(corrected, output_.data());
    size = output_.size();
    return output_.data();
}

}  // namespace kelvra::cli
