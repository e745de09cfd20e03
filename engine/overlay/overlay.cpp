// SPDX-License-Identifier: GPL-2.0-or-later
#include "overlay/overlay.h"

#include <algorithm>

namespace kelvra {
namespace {

// A white line over columns x0..x1: the row `offset` when flat, else the
// rows y = x - offset.
struct Line {
    bool slanted;
    int32_t offset;
    int32_t x0, x1;
};

constexpr Line kLines[] = {
    {false, 32, 33, 287},  {false, 64, 65, 319},  {false, 96, 97, 351},  // base lines
    {true, 0, 33, 95},     {true, 32, 65, 127},   {true, 64, 97, 159},   // slanted lines
    {true, 96, 129, 191},  {true, 128, 161, 223}, {true, 160, 193, 255},
    {true, 192, 225, 287}, {true, 224, 257, 319}, {true, 256, 288, 351},
};

// Bars of bin k stand at column base + k, rows base + 1 .. base + n - 1
// with n = count / 30; drawn back to front so red covers green covers blue.
struct Bars {
    int32_t base;
    uint32_t colour;
    const int32_t* counts;
};

void paint(const Frame& f, int32_t x, int32_t y, uint32_t colour) {
    if (x < f.width && y >= 0 && y < f.height) f.row(y)[x] = colour;
}

}  // namespace

void draw_overlay(const Frame& dst, const ChannelCounts& counts) {
    for (const Line& line : kLines) {
        for (int32_t x = line.x0; x <= line.x1; ++x)
            paint(dst, x, line.slanted ? x - line.offset : line.offset, kOverlayWhite);
    }
    const Bars bars[] = {
        {96, kOverlayBlue, counts.b}, {64, kOverlayGreen, counts.g}, {32, kOverlayRed, counts.r}};
    for (const Bars& b : bars) {
        for (int32_t k = 1; k <= 254; ++k) {
            const int32_t x = b.base + k;
            if (x >= dst.width) break;
            const int32_t top = std::min(b.base + b.counts[k] / 30 - 1, dst.height - 1);
            for (int32_t y = b.base + 1; y <= top; ++y) dst.row(y)[x] = b.colour;
        }
    }
}

}  // namespace kelvra
