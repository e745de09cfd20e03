// SPDX-License-Identifier: GPL-2.0-or-later
// The effect's parameters as frei0r hosts show them: each a double in 0..1
// mapped to its real range, or a boolean (a double, true from 0.5). The
// defaults correct as `kelvra --raw` does with no options.
#pragma once

#include <cstdint>

#include "time/live_corrector.h"

namespace kelvra::frei0r {

struct Parameter {
    const char* name;
    int type;  // F0R_PARAM_DOUBLE or F0R_PARAM_BOOL
    const char* explanation;
    double default_value;
};

constexpr int kParameterCount = 11;
extern const Parameter kParameters[kParameterCount];

using ParameterValues = double[kParameterCount];

// The engine's settings for a width x height picture. Values outside 0..1
// count as the nearest end, offsets as the dialog would allow them.
LiveSettings live_settings(const ParameterValues& values, int32_t width, int32_t height);

}  // namespace kelvra::frei0r
