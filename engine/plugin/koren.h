// SPDX-License-Identifier: GPL-2.0-or-later
// The soft limiter x / (1 + 0.1·b·x²): passes small x almost unchanged and
// bends large |x| back toward zero. The order of operations is part of the
// result (the reciprocal is taken before the multiply by x).
#pragma once

namespace kelvra {

inline double koren(double x, double b) {
    double t = x * x;
    t = t * b;
    t = t * 0.1;
    t = t + 1.0;
    const double r = 1.0 / t;
    return r * x;
}

}  // namespace kelvra
