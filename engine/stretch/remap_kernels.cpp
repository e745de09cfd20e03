// SPDX-License-Identifier: GPL-2.0-or-later
#include "stretch/remap_kernels.h"

#include <emmintrin.h>

#include "base/channels.h"

namespace kelvra {
namespace {

struct Lanes128 {
    __m128i bias, whole, frac;
};

__m128i broadcast(const uint16_t (&per_byte)[4]) {
    return _mm_setr_epi16(per_byte[0], per_byte[1], per_byte[2], per_byte[3], per_byte[0], per_byte[1],
                          per_byte[2], per_byte[3]);
}

// Two pixels' bytes, each as byte + 256 in a 16-bit lane.
__m128i stretch(__m128i u, const Lanes128& k) {
    const __m128i d = _mm_subs_epu16(u, k.bias);
    const __m128i q = _mm_add_epi16(_mm_mullo_epi16(d, k.whole), _mm_mulhi_epu16(d, k.frac));
    return _mm_srli_epi16(q, kLaneShift);
}

}  // namespace

void remap_row_c(const uint32_t* in, uint32_t* out, int32_t width, const RemapPlan& plan) {
    const RemapTables& t = plan.tables;
    for (int32_t x = 0; x < width; ++x) {
        const int32_t p = static_cast<int32_t>(in[x]);
        out[x] = t.r[GetR(p)] | t.g[GetG(p)] | t.b[GetB(p)];
    }
}

void remap_row_sse2(const uint32_t* in, uint32_t* out, int32_t width, const RemapPlan& plan) {
    const Lanes128 k{broadcast(plan.lanes.bias), broadcast(plan.lanes.whole), broadcast(plan.lanes.frac)};
    const __m128i high_one = _mm_set1_epi8(1);
    int32_t x = 0;
    for (; x + 4 <= width; x += 4) {
        const __m128i px = _mm_loadu_si128(reinterpret_cast<const __m128i*>(in + x));
        const __m128i lo = stretch(_mm_unpacklo_epi8(px, high_one), k);
        const __m128i hi = stretch(_mm_unpackhi_epi8(px, high_one), k);
        _mm_storeu_si128(reinterpret_cast<__m128i*>(out + x), _mm_packus_epi16(lo, hi));
    }
    remap_row_c(in + x, out + x, width - x, plan);
}

}  // namespace kelvra
