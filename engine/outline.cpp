#include "outline.h"

#include <algorithm>

namespace kelvra {
namespace {

void horizontal(const Frame& f, int64_t y, int64_t x0, int64_t x1) {
    if (y < 0 || y >= f.height) return;
    x0 = std::max<int64_t>(x0, 0);
    x1 = std::min<int64_t>(x1, f.width - 1);
    uint32_t* row = f.row(static_cast<int32_t>(y));
    for (int64_t x = x0; x <= x1; ++x) row[x] = kOutlineColour;
}

void vertical(const Frame& f, int64_t x, int64_t y0, int64_t y1) {
    if (x < 0 || x >= f.width) return;
    y0 = std::max<int64_t>(y0, 0);
    y1 = std::min<int64_t>(y1, f.height - 1);
    for (int64_t y = y0; y <= y1; ++y) f.row(static_cast<int32_t>(y))[x] = kOutlineColour;
}

}  // namespace

void draw_outline(const Frame& dst, const Settings& s) {
    const int64_t w = dst.width;
    const int64_t h = dst.height;
    const int64_t left = int64_t{s.nleft} - 1;
    const int64_t right = w - s.nright;
    const int64_t bottom = int64_t{s.ndown} - 1;
    const int64_t top = h - s.nup;
    horizontal(dst, top, left + 1, right - 1);
    horizontal(dst, bottom, left + 1, right - 1);
    vertical(dst, left, bottom + 1, top - 1);
    vertical(dst, right, bottom + 1, top - 1);
}

}  // namespace kelvra
