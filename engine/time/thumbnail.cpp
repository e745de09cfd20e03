// SPDX-License-Identifier: GPL-2.0-or-later
#include "time/thumbnail.h"

#include <algorithm>
#include <cmath>
#include <cstddef>

namespace kelvra {
namespace {

constexpr int64_t kSamples = int64_t{1} << 17;

// Cell i of n over `size` pixels; never empty, also when size < n.
void cell_span(int i, int32_t size, int32_t& first, int32_t& end) {
    first = int32_t(int64_t{i} * size / kThumbnailCells);
    end = std::max(first + 1, int32_t(int64_t{i + 1} * size / kThumbnailCells));
}

}  // namespace

void make_thumbnail(const uint32_t* pixels, int32_t width, int32_t height, Thumbnail& out) {
    // The least step that keeps the samples at most kSamples.
    int32_t step = 1;
    while (int64_t{width} * height > kSamples * step * step) ++step;
    for (int row = 0; row < kThumbnailCells; ++row) {
        int32_t y0, y1;
        cell_span(row, height, y0, y1);
        for (int column = 0; column < kThumbnailCells; ++column) {
            int32_t x0, x1;
            cell_span(column, width, x0, x1);
            uint64_t sum[3] = {0, 0, 0}, count = 0;
            for (int32_t y = y0; y < y1; y += step) {
                const uint32_t* line = pixels + ptrdiff_t{y} * width;
                for (int32_t x = x0; x < x1; x += step) {
                    const uint32_t p = line[x];
                    sum[0] += p & 0xFF;
                    sum[1] += (p >> 8) & 0xFF;
                    sum[2] += (p >> 16) & 0xFF;
                }
                count += uint64_t((x1 - x0 + step - 1) / step);
            }
            for (int c = 0; c < 3; ++c) out.mean[row][column][c] = float(double(sum[c]) / double(count));
        }
    }
}

double thumbnail_distance(const Thumbnail& a, const Thumbnail& b) {
    const float* p = &a.mean[0][0][0];
    const float* q = &b.mean[0][0][0];
    constexpr int n = kThumbnailCells * kThumbnailCells * 3;
    double total = 0;
    for (int i = 0; i < n; ++i) total += std::fabs(double(p[i]) - double(q[i]));
    return total / n;
}

}  // namespace kelvra
