// SPDX-License-Identifier: GPL-2.0-or-later
#include "frame_clock.h"

#include <algorithm>
#include <cmath>

namespace kelvra {

bool FrameClock::breaks(double time) {
    const bool first = !started_;
    started_ = true;
    if (!std::isfinite(time)) return first;
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
