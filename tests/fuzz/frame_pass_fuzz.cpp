// SPDX-License-Identifier: GPL-2.0-or-later
// Everything a host or a saved script line can hand the frame pass: any frame
// size up to a few hundred pixels a side, contiguous, padded, top-down or
// in-place buffers that end exactly at their allocation, any int32 settings,
// a few consecutive frames. The pass must stay inside both buffers, leave row
// padding alone, and give the plain implementation's picture.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <memory>
#include <vector>

#include "base/filter_data.h"
#include "pass/frame_pass.h"
#include "plain_filter.h"

namespace {

constexpr uint32_t kPadding = 0xA5A5A5A5;

class Input {
public:
    Input(const uint8_t* data, size_t size) : data_(data), size_(size) {}
    uint8_t u8() { return pos_ < size_ ? data_[pos_++] : 0; }
    int32_t i32() {
        uint32_t v = 0;
        for (int i = 0; i < 4; ++i) v |= uint32_t{u8()} << (8 * i);
        return static_cast<int32_t>(v);
    }
    const uint8_t* rest() const { return data_ + pos_; }
    size_t rest_size() const { return size_ - pos_; }

private:
    const uint8_t* data_;
    size_t size_;
    size_t pos_ = 0;
};

// Most sides are small (1..32), so the fuzzer runs many frames a second; one
// byte value in 64 reaches up to 400, past the overlay's 352 columns.
int32_t side(Input& in) {
    const int32_t b = in.u8();
    if (b < 252) return 1 + b % 32;
    return 1 + (((b & 3) << 8) | in.u8()) % 400;
}

// The plain implementation is slow; it checks frames up to this many pixels
// (a 400-column strip included), larger ones are checked for their bounds.
constexpr int32_t kComparedPixels = 16384;

enum Layout : uint8_t { kContiguous, kPadded, kTopDown, kInPlace };

struct Buffer {
    std::unique_ptr<uint32_t[]> memory;
    kelvra::Frame frame;
    int32_t stride;

    Buffer(int32_t w, int32_t h, int32_t stride_words, bool top_down) : stride(stride_words) {
        const size_t words = size_t(h - 1) * stride + w;  // ends exactly at the last pixel
        memory.reset(new uint32_t[words]);
        std::fill_n(memory.get(), words, kPadding);
        const ptrdiff_t pitch = ptrdiff_t{stride} * 4;
        uint32_t* bottom = top_down ? memory.get() + size_t(h - 1) * stride : memory.get();
        frame = kelvra::Frame{bottom, w, h, top_down ? -pitch : pitch};
    }

    // Every row but the last one in memory is followed by its padding.
    bool padding_intact() const {
        const int32_t last_in_memory = frame.pitch < 0 ? 0 : frame.height - 1;
        for (int32_t y = 0; y < frame.height; ++y) {
            if (y == last_in_memory) continue;
            for (int32_t x = frame.width; x < stride; ++x)
                if (frame.row(y)[x] != kPadding) return false;
        }
        return true;
    }
};

void fail() { __builtin_trap(); }

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    Input in(data, size);
    const int32_t w = side(in);
    const int32_t h = side(in);
    const Layout layout = Layout(in.u8() % 4);
    const int32_t pad = 1 + in.u8() % 16;
    const int frames = 1 + in.u8() % 4;
    uint8_t toggles[4];
    for (uint8_t& t : toggles) t = in.u8();

    kelvra::FilterData fd;
    kelvra::init_filter_data(fd, w, h);
    fd.level = in.i32();
    fd.nup = in.i32();
    fd.nleft = in.i32();
    fd.nright = in.i32();
    fd.ndown = in.i32();
    fd.border = in.i32();
    fd.disable = in.i32();
    fd.dialog_closed = in.i32();
    fd.show_histogram = in.i32();
    fd.soft = in.i32();
    fd.freeze = in.i32();
    kelvra::FilterData oracle = fd;

    const int32_t stride = layout == kPadded ? w + pad : w;
    Buffer src(w, h, stride, layout == kTopDown);
    Buffer dst(w, h, stride, layout == kTopDown);
    const kelvra::Frame& out = layout == kInPlace ? src.frame : dst.frame;

    std::vector<uint32_t> picture(size_t(w) * h), want(picture.size());
    for (int f = 0; f < frames; ++f) {
        // Each frame may flip the switches the dialog works.
        int32_t* flags[] = {&fd.dialog_closed, &fd.freeze, &fd.show_histogram,
                            &fd.border,        &fd.soft,   &fd.disable};
        int32_t* oracle_flags[] = {&oracle.dialog_closed, &oracle.freeze, &oracle.show_histogram,
                                   &oracle.border,        &oracle.soft,   &oracle.disable};
        for (int i = 0; i < 6; ++i)
            if (toggles[f] >> i & 1) *flags[i] = *oracle_flags[i] = !*flags[i];

        // The rest of the input is pixel words, repeated to fill the frame
        // and shifted from one frame to the next.
        const size_t words = in.rest_size() / 4;
        for (size_t i = 0; i < picture.size(); ++i) {
            uint32_t p = 0;
            if (words) std::memcpy(&p, in.rest() + 4 * ((i + size_t(f) * 7) % words), 4);
            picture[i] = p;
        }
        for (int32_t y = 0; y < h; ++y) std::memcpy(src.frame.row(y), &picture[size_t(y) * w], size_t(w) * 4);

        kelvra::run_frame_pass(fd, src.frame, out);
        if (w * h <= kComparedPixels) {
            plain::frame_pass(oracle, picture, want, w, h);
            for (int32_t y = 0; y < h; ++y)
                if (std::memcmp(out.row(y), &want[size_t(y) * w], size_t(w) * 4) != 0) fail();
        }
        if (!src.padding_intact() || !dst.padding_intact()) fail();
        if (layout != kInPlace)
            for (int32_t y = 0; y < h; ++y)
                if (std::memcmp(src.frame.row(y), &picture[size_t(y) * w], size_t(w) * 4) != 0) fail();
    }
    return 0;
}
