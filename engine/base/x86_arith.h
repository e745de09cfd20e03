// SPDX-License-Identifier: GPL-2.0-or-later
// Integer arithmetic with the results x86 hardware gives, without undefined
// behaviour: saved script lines can carry any int32, and the picture they
// produce must not depend on the compiler.
#pragma once

#include <cstdint>

namespace kelvra {

// cvttsd2si: truncation toward zero; NaN, infinities and values outside the
// int32 range give INT32_MIN (the "integer indefinite" value).
inline int32_t trunc_to_int(double v) {
    if (v > -2147483649.0 && v < 2147483648.0) return static_cast<int32_t>(v);
    return INT32_MIN;
}

// Half away from zero, then as trunc_to_int.
inline int32_t round_to_int(double v) { return trunc_to_int(v < 0 ? v - 0.5 : v + 0.5); }

inline int32_t wrap_add(int32_t a, int32_t b) {
    return static_cast<int32_t>(static_cast<uint32_t>(a) + static_cast<uint32_t>(b));
}

inline int32_t wrap_sub(int32_t a, int32_t b) {
    return static_cast<int32_t>(static_cast<uint32_t>(a) - static_cast<uint32_t>(b));
}

inline int32_t wrap_mul(int32_t a, int32_t b) {
    return static_cast<int32_t>(static_cast<uint32_t>(a) * static_cast<uint32_t>(b));
}

}  // namespace kelvra
