// SPDX-License-Identifier: GPL-2.0-or-later
#include <immintrin.h>

#include "stretch/remap_kernels.h"

namespace kelvra {
namespace {

struct Lanes256 {
    __m256i bias, whole, frac;
};

__attribute__((target("avx2"))) __m256i broadcast(const uint16_t (&b)[4]) {
    return _mm256_setr_epi16(b[0], b[1], b[2], b[3], b[0], b[1], b[2], b[3], b[0], b[1], b[2], b[3], b[0],
                             b[1], b[2], b[3]);
}

__attribute__((target("avx2"))) __m256i stretch(__m256i u, const Lanes256& k) {
    const __m256i d = _mm256_subs_epu16(u, k.bias);
    const __m256i q = _mm256_add_epi16(_mm256_mullo_epi16(d, k.whole), _mm256_mulhi_epu16(d, k.frac));
    return _mm256_srli_epi16(q, kLaneShift);
}

}  // namespace

// Unpacking and packing work within each 16-byte half, so the pixels come
// out in the order they went in.
__attribute__((target("avx2"))) void remap_row_avx2(const uint32_t* in, uint32_t* out, int32_t width,
                                                    const RemapPlan& plan) {
    const Lanes256 k{broadcast(plan.lanes.bias), broadcast(plan.lanes.whole), broadcast(plan.lanes.frac)};
    const __m256i high_one = _mm256_set1_epi8(1);
    int32_t x = 0;
    for (; x + 8 <= width; x += 8) {
        const __m256i px = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(in + x));
        const __m256i lo = stretch(_mm256_unpacklo_epi8(px, high_one), k);
        const __m256i hi = stretch(_mm256_unpackhi_epi8(px, high_one), k);
        _mm256_storeu_si256(reinterpret_cast<__m256i*>(out + x), _mm256_packus_epi16(lo, hi));
    }
    remap_row_sse2(in + x, out + x, width - x, plan);
}

}  // namespace kelvra
