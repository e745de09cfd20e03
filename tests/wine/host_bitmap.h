// SPDX-License-Identifier: GPL-2.0-or-later
// Frames in the buffers real hosts hand in: contiguous rows (the editor),
// rows padded to 64 bytes (a frame server), or top-down (negative pitch).
// Padding is filled with a marker so stray writes show.
#pragma once

#include <vector>

#include "host_abi.h"
#include "test_frames.h"

enum class RowLayout { Contiguous, Padded64, TopDown };

class HostBitmap {
public:
    // `depth` 0 is what a frame server gives plug-ins of this interface.
    HostBitmap(int w, int h, RowLayout layout, int depth = 32);
    explicit HostBitmap(const Image& image, RowLayout layout = RowLayout::Contiguous, int depth = 32);

    VDXFBitmap bitmap{};

    void fill(const Image& image);
    Image image() const;
    bool padding_intact() const;

private:
    uint32_t* row(int y) const;
    std::vector<uint32_t> storage_;
    int stride_words_ = 0;
};
