// SPDX-License-Identifier: GPL-2.0-or-later
#include "time/frame_clock.h"

#include <algorithm>
#include <cmath>

namespace kelvra {
namespace {

// Beyond any real stream's time in any unit: ffmpeg's frei0r filter hands
// over its "no time" value, scaled, when it has no time stamp for a frame.
constexpr double kNoTime = 1e15;

}  // namespace

bool FrameClock::breaks(double time) {
    const bool first = !started_;
    started_ = true;
    if (!std::isfinite(time) || std::fabs(time) > kNoTime) return first;
    const std::optional<double> last = last_;
    last_ = time;
    if (!last) return first;
    const double step = time - *last;
    if (!(step > 0)) return true;
    if (!period_) {
        period_ = step;
        return false;
    }
    if (step > 1.5 * *period_) return true;
    period_ = std::min(*period_, step);
    return false;
}

}  // namespace kelvra
