// SPDX-License-Identifier: GPL-2.0-or-later
// Row kernels of the stretch, all with one signature: `width` pixels from
// `in` to `out` (which may be the same row). The plain kernel looks every
// channel up in the tables; the vector twins compute the lane formula and
// must only be used where the plan says it is exact. They finish the last
// few pixels of a row from the tables.
#pragma once

#include <cstdint>

#include "stretch/remap.h"

namespace kelvra {

void remap_row_c(const uint32_t* in, uint32_t* out, int32_t width, const RemapPlan& plan);
void remap_row_sse2(const uint32_t* in, uint32_t* out, int32_t width, const RemapPlan& plan);
#if KELVRA_AVX2
// 32-byte vectors: only in the native build, only where the processor has
// them.
void remap_row_avx2(const uint32_t* in, uint32_t* out, int32_t width, const RemapPlan& plan);
#endif

}  // namespace kelvra
