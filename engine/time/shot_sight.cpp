// SPDX-License-Identifier: GPL-2.0-or-later
#include "time/shot_sight.h"

namespace kelvra {

void see_frame(const FrameAnalysis& a, const uint32_t* pixels, int32_t width, int32_t height,
               ShotSight& sight) {
    describe_frame(a, sight.report);
    make_thumbnail(pixels, width, height, sight.thumbnail);
}

}  // namespace kelvra
