// SPDX-License-Identifier: GPL-2.0-or-later
// A view of a host bitmap: 32-bit 0x00RRGGBB pixels, `data` at the first row
// in memory (the bottom line of the picture), `pitch` bytes from one row to
// the next one up. Padded rows and top-down buffers (negative pitch) work.
#pragma once

#include <cstddef>
#include <cstdint>

namespace kelvra {

struct Frame {
    uint32_t* data;
    int32_t width;
    int32_t height;
    ptrdiff_t pitch;

    uint32_t* row(int32_t y) const {
        return reinterpret_cast<uint32_t*>(reinterpret_cast<char*>(data) + static_cast<ptrdiff_t>(y) * pitch);
    }
};

}  // namespace kelvra
