// SPDX-License-Identifier: GPL-2.0-or-later
#include "stretch/deep_stretch.h"

namespace kelvra {
namespace {

constexpr size_t kValues = 65536;

void stretch_plane(uint16_t* plane, size_t n, const uint16_t* table) {
    for (size_t i = 0; i < n; ++i) plane[i] = table[plane[i]];
}

}  // namespace

uint16_t deep_stretch_sample(uint16_t v, int32_t low, int32_t high) {
    const int64_t range = int64_t{high} - low;
    if (range == 0) return 0;
    const int64_t out = (int64_t{v} - 257 * int64_t{low}) * 255 / range;
    return static_cast<uint16_t>(out < 0 ? 0 : out > 65535 ? 65535 : out);
}

DeepStretch::DeepStretch() : tables_(3 * kValues) {}

void DeepStretch::build(const Levels& levels) {
    for (int c = 0; c < 3; ++c) {
        uint16_t* table = tables_.data() + c * kValues;
        for (size_t v = 0; v < kValues; ++v)
            table[v] = deep_stretch_sample(static_cast<uint16_t>(v), levels.v[c], levels.v[c + 3]);
    }
    built_ = levels;
    valid_ = true;
}

void DeepStretch::apply(const Levels& levels, const DeepFrame& f) {
    bool same = valid_;
    for (int i = 0; i < kLevels && same; ++i) same = built_.v[i] == levels.v[i];
    if (!same) build(levels);
    const size_t n = f.samples();
    stretch_plane(f.r, n, tables_.data());
    stretch_plane(f.g, n, tables_.data() + kValues);
    stretch_plane(f.b, n, tables_.data() + 2 * kValues);
}

}  // namespace kelvra
