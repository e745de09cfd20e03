// SPDX-License-Identifier: GPL-2.0-or-later
// How frames cross the pipes: the bytes the decoder sends for one frame, the
// 8-bit top-down BGRA picture the engine sees, and the bytes handed to the
// encoder once the engine has corrected that picture. The frame loop knows
// only this interface, so every pipe format gets the same loop, look-ahead
// and measuring pass.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "convert/frame_memory.h"
#include "plugin/end_points.h"

namespace kelvra::cli {

// One frame as read, and the engine's picture of it where that is not the
// bytes themselves. Allocated once per loop.
struct FrameSlot {
    FrameBuffer<uint32_t> input;       // the frame as read (words, so BGRA needs no copy)
    FrameBuffer<uint32_t> picture;     // the engine's BGRA picture, when made from `input`
    const uint32_t* engine = nullptr;  // what the engine reads: `input` or `picture`
};

class FrameCodec {
public:
    FrameCodec(int32_t width, int32_t height) : width_(width), height_(height) {}
    virtual ~FrameCodec() = default;

    int32_t width() const { return width_; }
    int32_t height() const { return height_; }
    size_t pixels() const { return size_t(width_) * size_t(height_); }

    virtual size_t input_bytes() const = 0;
    FrameSlot make_slot() const;

    // Sets `slot.engine` to the engine's picture of the frame in `slot.input`.
    virtual void make_picture(FrameSlot& slot) = 0;

    // The frame for the encoder, from the frame as read, its corrected
    // picture and the levels the correction applied; `size` is set to its
    // bytes. May overwrite `slot.input`.
    virtual const void* encode(FrameSlot& slot, const uint32_t* corrected, const Levels& applied,
                               size_t& size) = 0;

    // The encoded frame as the 8-bit picture the compare image shows.
    virtual void compare_after(const FrameSlot& slot, const uint32_t* corrected, std::vector<uint32_t>& out);

    // Whether any frame read had a pixel that is not opaque, for an output
    // that drops the alpha: looked for after watch_alpha(), and only until
    // the first such pixel.
    void watch_alpha() { alpha_watched_ = true; }
    void look_at_alpha(const FrameSlot& slot) {
        if (alpha_watched_ && !translucent_seen_) translucent_seen_ = translucent(slot);
    }
    bool translucent_seen() const { return translucent_seen_; }

protected:
    // Whether `FrameSlot::picture` is needed, or the engine reads the input.
    virtual bool own_picture() const { return true; }
    // Whether the frame as read has a pixel that is not opaque.
    virtual bool translucent(const FrameSlot& slot) const;

private:
    int32_t width_, height_;
    bool alpha_watched_ = false, translucent_seen_ = false;
};

}  // namespace kelvra::cli
