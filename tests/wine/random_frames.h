// SPDX-License-Identifier: GPL-2.0-or-later
// Seeded random frame sizes and settings sequences, shared by the
// differential test and the cross-build digest.
#pragma once

#include <random>

#include "base/filter_data.h"

struct FrameSize {
    int w, h;
};

// Odd sizes mostly, a few tiny ones.
FrameSize random_size(std::mt19937& rng);

// The settings a dialog or a script line could leave, now and then outside
// the dialog's ranges.
void random_settings(kelvra::FilterData& fd, std::mt19937& rng, int w, int h);
