// SPDX-License-Identifier: GPL-2.0-or-later
#include "test_frames.h"

#include <algorithm>

#include "pass/frame_pass.h"

namespace {
constexpr uint32_t kPaddingMarker = 0xA5A5A5A5;
}

Image make_image(int w, int h, const std::function<uint32_t(int x, int y)>& pixel) {
    Image img(w, h);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) img.at(x, y) = pixel(x, y);
    return img;
}

Image natural_image(int w, int h, std::mt19937& rng) {
    std::uniform_int_distribution<int> noise(-12, 12);
    std::uniform_int_distribution<int> cast(-40, 40);
    const int cr = cast(rng), cg = cast(rng), cb = cast(rng);
    auto clampb = [](int v) { return uint32_t(std::clamp(v, 0, 255)); };
    return make_image(w, h, [&](int x, int y) {
        const int base = 30 + (150 * x) / std::max(w, 1) + (60 * y) / std::max(h, 1);
        const int texture = ((x * 7 + y * 13) % 23) - 11 + noise(rng);
        return (clampb(base + texture + cr) << 16) | (clampb(base + texture / 2 + cg) << 8) |
               clampb(base - texture + cb) | (uint32_t(noise(rng) & 0xFF) << 24);
    });
}

HostBuffer::HostBuffer(const Image& image, Layout layout) {
    stride_words = layout == Layout::Padded ? image.w + 16 - image.w % 16 + 3 : image.w;
    storage.assign(size_t(stride_words) * image.h, kPaddingMarker);
    const ptrdiff_t pitch = ptrdiff_t(stride_words) * 4;
    uint32_t* bottom = storage.data();
    if (layout == Layout::TopDown) bottom = storage.data() + size_t(stride_words) * (image.h - 1);
    frame = kelvra::Frame{bottom, image.w, image.h, layout == Layout::TopDown ? -pitch : pitch};
    for (int y = 0; y < image.h; ++y)
        for (int x = 0; x < image.w; ++x) frame.row(y)[x] = image.at(x, y);
}

Image HostBuffer::image() const {
    Image img(frame.width, frame.height);
    for (int y = 0; y < frame.height; ++y)
        for (int x = 0; x < frame.width; ++x) img.at(x, y) = frame.row(y)[x];
    return img;
}

bool HostBuffer::padding_intact() const {
    for (int y = 0; y < frame.height; ++y)
        for (int x = frame.width; x < stride_words; ++x)
            if (frame.row(y)[x] != kPaddingMarker) return false;
    return true;
}

kelvra::FilterData fresh_record(int w, int h) {
    kelvra::FilterData fd;
    kelvra::init_filter_data(fd, w, h);
    return fd;
}

kelvra::FilterData open_dialog_record(int w, int h) {
    kelvra::FilterData fd = fresh_record(w, h);
    fd.dialog_closed = 0;
    return fd;
}

void randomize_settings(kelvra::FilterData& fd, std::mt19937& rng, int w, int h) {
    auto pick = [&](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng); };
    fd.level = pick(0, 9) == 0 ? pick(-50, 600) : pick(1, 500);
    fd.border = pick(0, 1);
    fd.disable = pick(0, 5) == 0;
    fd.dialog_closed = pick(0, 1);
    fd.show_histogram = pick(0, 2) == 0;
    fd.soft = pick(0, 1);
    fd.freeze = pick(0, 4) == 0;
    fd.nup = pick(1, std::max(1, h / 2));
    fd.ndown = pick(1, std::max(1, h / 2));
    fd.nleft = pick(1, std::max(1, w / 2));
    fd.nright = pick(1, std::max(1, w / 2));
}

Image run_engine(kelvra::FilterData& fd, const Image& src) {
    HostBuffer in(src, Layout::Contiguous);
    HostBuffer out(Image(src.w, src.h), Layout::Contiguous);
    kelvra::run_frame_pass(fd, in.frame, out.frame);
    return out.image();
}
