// SPDX-License-Identifier: GPL-2.0-or-later
// Where a picture's white lies: its jointly brightest pixels, the ones near
// the top of all three channels at once, and how far they stray from one
// colour.
#pragma once

#include <cstdint>

namespace kelvra {

// The white is where the brightest 1 in 512 pixels reach (at least 5 of
// them), ranked by how near each is to the top of all three channels.
constexpr int32_t kWhiteShare = 512;
constexpr int32_t kWhiteMinimum = 5;

// Channel c (0 red, 1 green, 2 blue) of a 0x00RRGGBB pixel.
inline int32_t channel(uint32_t pixel, int c) { return static_cast<int32_t>((pixel >> (16 - 8 * c)) & 0xFF); }

// The jointly brightest pixels for a white: those whose score reaches the
// `wanted` best's, that is, whose every channel reaches its least byte.
struct Cluster {
    int32_t least[3];

    bool holds(uint32_t pixel) const {
        return channel(pixel, 0) >= least[0] && channel(pixel, 1) >= least[1] &&
               channel(pixel, 2) >= least[2];
    }
};

// Starts from `white` (each channel's own maximum) and moves to the jointly
// brightest pixels' maximum until it settles: a colourful highlight in one
// channel loses to a white that is bright in all three. Gives the final
// white's cluster.
Cluster find_white(const uint32_t* pixels, int32_t count, int32_t (&white)[3]);

// How far the white's pixels stray from one colour, in thousandths.
int32_t white_spread(const uint32_t* pixels, int32_t count, const int32_t (&white)[3],
                     const Cluster& cluster);

}  // namespace kelvra
