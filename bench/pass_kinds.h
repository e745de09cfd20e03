// SPDX-License-Identifier: GPL-2.0-or-later
// The settings the frame pass is timed with, shared by the native benchmark
// and the DLL timing: overlay off and on, border off and on (an eighth of
// the frame off each side), the dialog closed as in rendering.
#pragma once

#include "base/filter_data.h"

struct PassKind {
    const char* name;
    bool overlay, border;
};

constexpr PassKind kPassKinds[] = {
    {"pass", false, false},
    {"pass+border", false, true},
    {"pass+overlay", true, false},
    {"pass+overlay+border", true, true},
};

void apply_pass_kind(kelvra::FilterData& fd, const PassKind& kind, int w, int h);
