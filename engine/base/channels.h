// SPDX-License-Identifier: GPL-2.0-or-later
// Channel bytes of a 0x00RRGGBB pixel.
#pragma once

#include <cstdint>

namespace kelvra {

inline int32_t GetR(int32_t pixel) { return (pixel >> 16) & 0xFF; }
inline int32_t GetG(int32_t pixel) { return (pixel >> 8) & 0xFF; }
inline int32_t GetB(int32_t pixel) { return pixel & 0xFF; }

}  // namespace kelvra
