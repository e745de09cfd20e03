// SPDX-License-Identifier: GPL-2.0-or-later
#include "random_frames.h"

#include <algorithm>

namespace {

int pick(std::mt19937& rng, int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng); }

}  // namespace

FrameSize random_size(std::mt19937& rng) {
    if (pick(rng, 0, 9) == 0) return {pick(rng, 1, 4), pick(rng, 1, 4)};
    return {pick(rng, 1, 200) * 2 + 1, pick(rng, 1, 60) * 2 + 1};
}

void random_settings(kelvra::FilterData& fd, std::mt19937& rng, int w, int h) {
    fd.level = pick(rng, 0, 9) == 0 ? pick(rng, -50, 600) : pick(rng, 1, 500);
    fd.border = pick(rng, 0, 1);
    fd.disable = pick(rng, 0, 5) == 0;
    fd.dialog_closed = pick(rng, 0, 1);
    fd.show_histogram = pick(rng, 0, 2) == 0;
    fd.soft = pick(rng, 0, 1);
    fd.freeze = pick(rng, 0, 4) == 0;
    fd.nup = pick(rng, 1, std::max(1, h / 2));
    fd.ndown = pick(rng, 1, std::max(1, h / 2));
    fd.nleft = pick(rng, 1, std::max(1, w / 2));
    fd.nright = pick(rng, 1, std::max(1, w / 2));
    if (pick(rng, 0, 19) == 0) fd.nup = pick(rng, -5, h + 5);
}
