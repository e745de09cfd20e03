// SPDX-License-Identifier: GPL-2.0-or-later
#include "balance/light_cells.h"

#include <algorithm>
#include <cmath>

namespace kelvra {
namespace {

// The cells' means are taken from at most this many of the sample's pixels.
constexpr int64_t kPixels = int64_t{1} << 14;

// Below this mean a cell's ratio is mostly noise and rounding.
constexpr float kDarkest = 12;
// How far a cell's ratio may stray from the gain and still agree with it:
// noise and compression, not a thing moving over it.
constexpr double kTolerance = 0.04;
// In dark cells noise and compression stray by a level or two, more than a
// share of their mean.
constexpr double kNoise = 2;

// The columns x0..x1 of cell column `column` in a grid `columns` wide.
void cell_columns(int column, int32_t columns, int64_t& x0, int64_t& x1) {
    x0 = int64_t{column} * columns / kLightGrid;
    x1 = int64_t{column + 1} * columns / kLightGrid;
}

int32_t cell_row(int64_t y, int32_t rows) { return int32_t(y * kLightGrid / rows) * kLightGrid; }

}  // namespace

void measure_light_cells(const BalanceSample& sample, LightCells& cells) {
    uint64_t sum[kLightCells][3] = {};
    int32_t count[kLightCells] = {};
    bool clipped[kLightCells] = {};
    const int32_t columns = sample.columns(), rows = sample.rows();
    // Every step-th pixel of every step-th row of the grid: dozens a cell
    // are plenty for its mean, and the cost stays the same at any size.
    int64_t step = 1;
    while (((columns + step - 1) / step) * ((rows + step - 1) / step) > kPixels) ++step;
    for (int64_t y = 0; y < rows; y += step) {
        const uint32_t* line = sample.pixels() + y * columns;
        for (int column = 0; column < kLightGrid; ++column) {
            const int32_t cell = cell_row(y, rows) + column;
            int64_t x, end;
            cell_columns(column, columns, x, end);
            x = (x + step - 1) / step * step;
            uint32_t r = 0, g = 0, b = 0, brightest = 0;
            for (; x < end; x += step) {
                const uint32_t p = line[x];
                r += (p >> 16) & 0xFF;
                g += (p >> 8) & 0xFF;
                b += p & 0xFF;
                brightest = std::max({brightest, (p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF});
                ++count[cell];
            }
            sum[cell][0] += r;
            sum[cell][1] += g;
            sum[cell][2] += b;
            clipped[cell] |= brightest >= uint32_t{kClipLevel};
        }
    }
    for (int i = 0; i < kLightCells; ++i) {
        bool usable = count[i] > 0 && !clipped[i];
        for (int c = 0; c < 3; ++c) {
            cells.mean[i][c] = count[i] ? float(double(sum[i][c]) / count[i]) : 0.0f;
            usable &= cells.mean[i][c] >= kDarkest;
        }
        cells.usable[i] = usable;
    }
}

int32_t pixels_in_cells(const BalanceSample& sample, const bool (&cells)[kLightCells], uint32_t* out) {
    const int32_t columns = sample.columns(), rows = sample.rows();
    int32_t count = 0;
    for (int64_t y = 0; y < rows; ++y) {
        const uint32_t* line = sample.pixels() + y * columns;
        for (int column = 0; column < kLightGrid; ++column) {
            if (!cells[cell_row(y, rows) + column]) continue;
            int64_t x0, x1;
            cell_columns(column, columns, x0, x1);
            std::copy(line + x0, line + x1, out + count);
            count += int32_t(x1 - x0);
        }
    }
    return count;
}

LightChange light_change(const LightCells& before, const LightCells& after) {
    double ratio[3][kLightCells];
    int32_t cell[kLightCells];
    int32_t n = 0;
    LightChange change{{1, 1, 1}, 0, 0, {}};
    for (int i = 0; i < kLightCells; ++i) {
        change.alike[i] = !before.usable[i] && !after.usable[i];
        if (!before.usable[i] || !after.usable[i]) continue;
        for (int c = 0; c < 3; ++c) ratio[c][n] = double(after.mean[i][c]) / double(before.mean[i][c]);
        cell[n++] = i;
    }
    change.compared = n;
    if (n < kFewestCells) return change;
    double sorted[kLightCells];
    for (int c = 0; c < 3; ++c) {
        std::copy_n(ratio[c], n, sorted);
        std::nth_element(sorted, sorted + n / 2, sorted + n);
        change.gain[c] = sorted[n / 2];
    }
    int32_t agreeing = 0;
    double sum_before[3] = {}, sum_after[3] = {};
    for (int32_t i = 0; i < n; ++i) {
        bool near = true;
        for (int c = 0; c < 3; ++c) {
            const double tolerance = std::max(kTolerance, kNoise / before.mean[cell[i]][c]);
            near &= std::fabs(ratio[c][i] / change.gain[c] - 1) <= tolerance;
        }
        change.alike[cell[i]] = near;
        agreeing += near;
        for (int c = 0; c < 3 && near; ++c) {
            sum_before[c] += before.mean[cell[i]][c];
            sum_after[c] += after.mean[cell[i]][c];
        }
    }
    change.agreement = double(agreeing) / n;
    // Over the cells that agree, the ratio of their sums: the brighter cells
    // count the more, whose ratios a shift of the black changes the least.
    for (int c = 0; c < 3 && agreeing; ++c) change.gain[c] = sum_after[c] / sum_before[c];
    return change;
}

}  // namespace kelvra
