// SPDX-License-Identifier: GPL-2.0-or-later
// Frames of 16-bit planar RGB (ffmpeg's gbrp16le, or gbrap16le with alpha)
// both ways. The engine corrects each frame's 8-bit reduction, so the
// analysis, history and settings behave as for an 8-bit input; the levels
// that correction applied then stretch the 16-bit samples, and the alpha
// plane passes as it is.
#pragma once

#include <optional>

#include "convert/frame_codec.h"
#include "overlay/deep_overlay.h"
#include "stretch/deep_frame.h"
#include "stretch/deep_stretch.h"

namespace kelvra::cli {

class DeepCodec : public FrameCodec {
public:
    DeepCodec(int32_t width, int32_t height, bool alpha, bool overlay);

    size_t input_bytes() const override { return pixels() * (alpha_ ? 4 : 3) * sizeof(uint16_t); }
    void make_picture(FrameSlot& slot) override;
    const void* encode(FrameSlot& slot, const uint32_t* corrected, const Levels& applied,
                       size_t& size) override;
    // The reduction of the deep output, which is what a viewer of it sees.
    void compare_after(const FrameSlot& slot, const uint32_t* corrected, std::vector<uint32_t>& out) override;

protected:
    bool translucent(const FrameSlot& slot) const override;

private:
    DeepFrame planes(const FrameSlot& slot) const;

    bool alpha_;
    DeepStretch stretch_;
    std::optional<DeepOverlay> overlay_;
};

}  // namespace kelvra::cli
