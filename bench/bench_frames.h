// SPDX-License-Identifier: GPL-2.0-or-later
// The benchmark's pictures: one natural-looking frame (gradient, texture,
// noise and a colour cast) per size, built once and shared by every
// benchmark so all of them run on the same pixels.
#pragma once

#include <string>
#include <vector>

#include "test_frames.h"

struct FrameSize {
    int w, h;
};

const std::vector<FrameSize>& bench_sizes();

std::string size_name(const FrameSize& size);  // "WxH"

// The source picture of a size, always the same pixels.
const Image& bench_picture(const FrameSize& size);

// Writes each picture as raw 32-bit pixels (B, G, R, X bytes, the bottom row
// first) to dir/WxH.bgr0, for tools that time other filters on them.
bool dump_pictures(const std::string& dir);
