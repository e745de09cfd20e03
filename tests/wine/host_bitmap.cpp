// SPDX-License-Identifier: GPL-2.0-or-later
#include "host_bitmap.h"

#include <cstdint>

namespace {

constexpr uint32_t kPaddingMarker = 0xA5A5A5A5;
constexpr int kRowAlignWords = 16;  // 64 bytes

}  // namespace

HostBitmap::HostBitmap(int w, int h, RowLayout layout, int depth) {
    stride_words_ =
        layout == RowLayout::Padded64 ? (w + kRowAlignWords - 1) / kRowAlignWords * kRowAlignWords : w;
    const size_t words = size_t(stride_words_) * h;
    storage_.assign(words + kRowAlignWords, kPaddingMarker);
    // Start the first row on a 64-byte boundary, as a frame server does.
    uint32_t* base = storage_.data();
    while (reinterpret_cast<uintptr_t>(base) % (kRowAlignWords * 4) != 0) ++base;
    const ptrdiff_t pitch = ptrdiff_t(stride_words_) * 4;
    const bool top_down = layout == RowLayout::TopDown;
    bitmap.data = top_down && h > 0 ? base + size_t(stride_words_) * (h - 1) : base;
    bitmap.depth = depth;
    bitmap.w = w;
    bitmap.h = h;
    bitmap.pitch = top_down ? -pitch : pitch;
    bitmap.modulo = bitmap.pitch - ptrdiff_t(w) * 4;
    bitmap.size = pitch * h;
}

HostBitmap::HostBitmap(const Image& image, RowLayout layout, int depth)
    : HostBitmap(image.w, image.h, layout, depth) {
    fill(image);
}

uint32_t* HostBitmap::row(int y) const {
    return reinterpret_cast<uint32_t*>(reinterpret_cast<char*>(bitmap.data) + ptrdiff_t(y) * bitmap.pitch);
}

void HostBitmap::fill(const Image& image) {
    for (int y = 0; y < image.h; ++y)
        for (int x = 0; x < image.w; ++x) row(y)[x] = image.at(x, y);
}

Image HostBitmap::image() const {
    Image img(bitmap.w, bitmap.h);
    for (int y = 0; y < bitmap.h; ++y)
        for (int x = 0; x < bitmap.w; ++x) img.at(x, y) = row(y)[x];
    return img;
}

bool HostBitmap::padding_intact() const {
    for (int y = 0; y < bitmap.h; ++y)
        for (int x = bitmap.w; x < stride_words_; ++x)
            if (row(y)[x] != kPaddingMarker) return false;
    return true;
}
