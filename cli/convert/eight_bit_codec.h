// SPDX-License-Identifier: GPL-2.0-or-later
// 8-bit frames: top-down BGRA on the pipes, or the decoder's own planar YUV
// in and the encoder's YUV out, converted in this process (fewer bytes
// through the pipes, and the ffmpeg processes do no conversion of their own).
#pragma once

#include <memory>

#include "convert/frame_codec.h"
#include "convert/yuv_conversion.h"

namespace kelvra::cli {

class EightBitCodec : public FrameCodec {
public:
    // A null conversion: BGRA crosses that pipe.
    EightBitCodec(int32_t width, int32_t height, std::unique_ptr<YuvToBgra> from_input = nullptr,
                  std::unique_ptr<BgraToYuv> to_output = nullptr);

    size_t input_bytes() const override;
    void make_picture(FrameSlot& slot) override;
    const void* encode(FrameSlot& slot, const uint32_t* corrected, const Levels& applied,
                       size_t& size) override;

protected:
    bool own_picture() const override { return from_input_ != nullptr; }

private:
    std::unique_ptr<YuvToBgra> from_input_;
    std::unique_ptr<BgraToYuv> to_output_;
    FrameBuffer<uint8_t> output_;  // the encoder's YUV
};

}  // namespace kelvra::cli
