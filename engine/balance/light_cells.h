// SPDX-License-Identifier: GPL-2.0-or-later
// The light of a frame seen cell by cell, and how it changed between two
// frames. A change of light multiplies every channel of everything in view
// by one gain; a thing moving through the picture changes only the cells it
// covers. So the gains are found from the cells' ratios (their medians, then
// the ratio of the sums of the cells near them), and the share of cells that
// agree tells a change of light (nearly all agree) from a change of picture
// (few do).
#pragma once

#include <cstdint>

#include "balance/balance_sample.h"

namespace kelvra {

constexpr int kLightGrid = 16;  // cells across and down
constexpr int kLightCells = kLightGrid * kLightGrid;

struct LightCells {
    float mean[kLightCells][3];  // R, G, B, 0..255
    // Neither clipped nor too dark in any channel: a ratio of two such
    // cells is the light's.
    bool usable[kLightCells];
};

// The cells of the sample's grid (a grid smaller than 16 x 16 leaves some
// cells empty, and unusable).
void measure_light_cells(const BalanceSample& sample, LightCells& cells);

// Fewer cells to compare than this tell nothing of the light.
constexpr int32_t kFewestCells = 16;

struct LightChange {
    double gain[3];    // R, G, B: what the light multiplied each channel by
    int32_t compared;  // cells usable in both frames
    double agreement;  // share of those whose ratios all lie near the gains
    // Cells compared whose ratios lie near the gains, or usable in neither
    // frame: those nothing passed over.
    bool alike[kLightCells];
};

// The sample's pixels in the cells marked, row by row, into `out`, which
// has room for all of them; gives how many.
int32_t pixels_in_cells(const BalanceSample& sample, const bool (&cells)[kLightCells], uint32_t* out);

// From `before` to `after`; gains of 1 and no agreement when fewer than a
// handful of cells can be compared.
LightChange light_change(const LightCells& before, const LightCells& after);

}  // namespace kelvra
