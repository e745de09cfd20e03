// SPDX-License-Identifier: GPL-2.0-or-later
// The x86 results the engine reproduces without undefined behaviour.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "base/x86_arith.h"
#include "plugin/koren.h"

using namespace kelvra;

TEST(X86Arithmetic, TruncationTowardZero) {
    EXPECT_EQ(trunc_to_int(2.9), 2);
    EXPECT_EQ(trunc_to_int(-2.9), -2);
    EXPECT_EQ(trunc_to_int(-0.5), 0);
    EXPECT_EQ(trunc_to_int(2147483647.9), 2147483647);
    EXPECT_EQ(trunc_to_int(-2147483648.9), INT32_MIN);
}

TEST(X86Arithmetic, IndefiniteConversionGivesIntMin) {
    EXPECT_EQ(trunc_to_int(std::numeric_limits<double>::quiet_NaN()), INT32_MIN);
    EXPECT_EQ(trunc_to_int(std::numeric_limits<double>::infinity()), INT32_MIN);
    EXPECT_EQ(trunc_to_int(-std::numeric_limits<double>::infinity()), INT32_MIN);
    EXPECT_EQ(trunc_to_int(2147483648.0), INT32_MIN);
    EXPECT_EQ(trunc_to_int(-2147483649.0), INT32_MIN);
    EXPECT_EQ(trunc_to_int(1e300), INT32_MIN);
}

TEST(X86Arithmetic, Int32Wraps) {
    EXPECT_EQ(wrap_add(INT32_MAX, 1), INT32_MIN);
    EXPECT_EQ(wrap_sub(5, INT32_MIN), -2147483643);
    EXPECT_EQ(wrap_mul(65536, 65536), 0);
    EXPECT_EQ(wrap_mul(-1, INT32_MIN), INT32_MIN);
}

TEST(Limiter, ShapeAndStrength) {
    EXPECT_DOUBLE_EQ(koren(0.0, 0.04), 0.0);
    EXPECT_DOUBLE_EQ(koren(-7.0, 0.04), -koren(7.0, 0.04));
    // Greatest value sqrt(10 level) / 2 at x = sqrt(10 level).
    EXPECT_NEAR(koren(std::sqrt(10.0), 1.0), std::sqrt(10.0) / 2, 1e-12);
    EXPECT_NEAR(koren(std::sqrt(5000.0), 1.0 / 500), 35.3553, 1e-4);
    EXPECT_NEAR(koren(50.0, 0.002), 33.333, 1e-3);
    EXPECT_LT(koren(50.0, 1.0), 1.0);
}
