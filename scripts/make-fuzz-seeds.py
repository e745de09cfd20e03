#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-2.0-or-later
"""Writes the fuzz target's seed corpus: the worked frames and bad settings.

Input layout: width, height (one byte b < 252 for 1 + b % 32, else two bytes
for 1 + ((b & 3) << 8 | next) % 400), layout
(0 contiguous, 1 padded, 2 top-down, 3 in place), padding, frame count - 1,
four per-frame switch toggles, then level, nup, nleft, nright, ndown,
border, disable, dialog_closed, show_histogram, soft, freeze as little-endian
int32, then pixel words repeated over the frame.
"""
import os
import struct
import sys

INT_MIN, INT_MAX = -2**31, 2**31 - 1


def side_bytes(side):
    if side <= 32:
        return [side - 1]
    return [252 + ((side - 1) >> 8), (side - 1) & 255]


def seed(w, h, pixels, layout=0, frames=1, toggles=(0, 0, 0, 0), level=25, offsets=(1, 1, 1, 1),
         border=0, disable=0, dialog_closed=0, show_histogram=0, soft=0, freeze=0, pad=3):
    head = bytes([*side_bytes(w), *side_bytes(h), layout, pad, frames - 1, *toggles])
    values = (level, *offsets, border, disable, dialog_closed, show_histogram, soft, freeze)
    return head + struct.pack("<11i", *values) + b"".join(struct.pack("<I", p) for p in pixels)


def blue_cast_row(w):
    return [((40 + 2 * x) << 16) | ((40 + 2 * x) << 8) | min(255, 60 + 2 * x) for x in range(w)]


def main(folder):
    os.makedirs(folder, exist_ok=True)
    seeds = {
        "grey-16x12": seed(16, 12, [0x808080]),
        "grey-overlay-400x300": seed(400, 300, [0x808080], disable=1, show_histogram=1, dialog_closed=1),
        "blue-cast-100x50": seed(100, 50, blue_cast_row(100)),
        "blue-cast-soft": seed(100, 50, blue_cast_row(100), soft=1),
        "blue-cast-closed-history": seed(100, 50, blue_cast_row(100), dialog_closed=1, frames=4),
        "black-overlay-grid": seed(400, 40, [0], disable=1, show_histogram=1),
        "outline-default-offsets": seed(20, 10, [0x101010], border=1, disable=1),
        "freeze-toggled": seed(40, 30, blue_cast_row(40), frames=4, toggles=(2, 0, 1, 0)),
        "level-zero": seed(64, 40, blue_cast_row(64), level=0, layout=1),
        "level-int-min": seed(33, 21, blue_cast_row(33), level=INT_MIN, soft=1, layout=2),
        "offsets-int-min": seed(80, 64, blue_cast_row(80), offsets=(INT_MIN,) * 4, border=1),
        "offsets-int-max": seed(80, 64, blue_cast_row(80), offsets=(INT_MAX,) * 4, border=1,
                                show_histogram=1),
        "offsets-no-rows": seed(80, 64, blue_cast_row(80), offsets=(40, 1, 1, 40), border=1, layout=3),
        "one-pixel": seed(1, 1, [0xFFFFFFFF], border=1, show_histogram=1, layout=1),
    }
    for name, data in seeds.items():
        with open(os.path.join(folder, name), "wb") as f:
            f.write(data)


if __name__ == "__main__":
    main(sys.argv[1] if len(sys.argv) > 1 else os.path.join(os.path.dirname(__file__), "..", "tests", "fuzz", "corpus"))
