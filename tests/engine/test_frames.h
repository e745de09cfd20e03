// SPDX-License-Identifier: GPL-2.0-or-later
// Frames for the engine tests: contiguous bottom-up images, and the same
// pixels in host buffers of other layouts.
#pragma once

#include <cstdint>
#include <functional>
#include <random>
#include <vector>

#include "base/filter_data.h"
#include "base/frame.h"

struct Image {
    int w = 0, h = 0;
    std::vector<uint32_t> px;  // element y * w + x, row 0 at the bottom

    Image(int width, int height, uint32_t fill = 0) : w(width), h(height), px(size_t(width) * height, fill) {}
    uint32_t& at(int x, int y) { return px[size_t(y) * w + x]; }
    uint32_t at(int x, int y) const { return px[size_t(y) * w + x]; }
};

Image make_image(int w, int h, const std::function<uint32_t(int x, int y)>& pixel);

// A gradient-and-noise picture with a colour cast, as a camera would give.
Image natural_image(int w, int h, std::mt19937& rng);

enum class Layout { Contiguous, Padded, TopDown };

// Pixels of an image in a host buffer of the given layout. Padding bytes are
// filled with a marker so stray writes show.
struct HostBuffer {
    std::vector<uint32_t> storage;
    kelvra::Frame frame;

    HostBuffer(const Image& image, Layout layout);
    Image image() const;
    bool padding_intact() const;

private:
    int stride_words = 0;
};

kelvra::FilterData fresh_record(int w = 720, int h = 576);

// A record with the dialog open: no averaging, as the worked examples assume.
kelvra::FilterData open_dialog_record(int w, int h);

// Settings as the dialog or a script line might leave them for a w x h frame:
// mostly in range, now and then a level outside the slider's.
void randomize_settings(kelvra::FilterData& fd, std::mt19937& rng, int w, int h);

// The engine's frame pass on contiguous images.
Image run_engine(kelvra::FilterData& fd, const Image& src);
