// SPDX-License-Identifier: GPL-2.0-or-later
#include "overlay/outline.h"

#include <algorithm>

#include "base/channels.h"
#include "base/x86_arith.h"

namespace kelvra {
namespace {

void recount(ChannelCounts* counts, uint32_t before, uint32_t after) {
    if (!counts) return;
    const int32_t b = static_cast<int32_t>(before), a = static_cast<int32_t>(after);
    counts->r[GetR(b)] = wrap_sub(counts->r[GetR(b)], 1);
    counts->g[GetG(b)] = wrap_sub(counts->g[GetG(b)], 1);
    counts->b[GetB(b)] = wrap_sub(counts->b[GetB(b)], 1);
    counts->r[GetR(a)] = wrap_add(counts->r[GetR(a)], 1);
    counts->g[GetG(a)] = wrap_add(counts->g[GetG(a)], 1);
    counts->b[GetB(a)] = wrap_add(counts->b[GetB(a)], 1);
}

void paint(uint32_t& pixel, ChannelCounts* counts) {
    recount(counts, pixel, kOutlineColour);
    pixel = kOutlineColour;
}

void horizontal(const Frame& f, int64_t y, int64_t x0, int64_t x1, ChannelCounts* counts) {
    if (y < 0 || y >= f.height) return;
    x0 = std::max<int64_t>(x0, 0);
    x1 = std::min<int64_t>(x1, f.width - 1);
    uint32_t* row = f.row(static_cast<int32_t>(y));
    for (int64_t x = x0; x <= x1; ++x) paint(row[x], counts);
}

void vertical(const Frame& f, int64_t x, int64_t y0, int64_t y1, ChannelCounts* counts) {
    if (x < 0 || x >= f.width) return;
    y0 = std::max<int64_t>(y0, 0);
    y1 = std::min<int64_t>(y1, f.height - 1);
    for (int64_t y = y0; y <= y1; ++y) paint(f.row(static_cast<int32_t>(y))[x], counts);
}

}  // namespace

void draw_outline(const Frame& dst, const Settings& s, ChannelCounts* counts) {
    const int64_t w = dst.width;
    const int64_t h = dst.height;
    const int64_t left = int64_t{s.nleft} - 1;
    const int64_t right = w - s.nright;
    const int64_t bottom = int64_t{s.ndown} - 1;
    const int64_t top = h - s.nup;
    horizontal(dst, top, left + 1, right - 1, counts);
    horizontal(dst, bottom, left + 1, right - 1, counts);
    vertical(dst, left, bottom + 1, top - 1, counts);
    vertical(dst, right, bottom + 1, top - 1, counts);
}

}  // namespace kelvra
