// SPDX-License-Identifier: GPL-2.0-or-later
#include "parameters.h"

#include <algorithm>

#include "base/x86_arith.h"
#include "dialog/dialog_rules.h"
#include "frei0r_api.h"
#include "time/shots.h"

namespace kelvra::frei0r {

enum Index {
    kStrength,
    kSoft,
    kBorder,
    kUp,
    kLeft,
    kRight,
    kDown,
    kHistogram,
    kSceneCuts,
    kSensitivity,
    kPluginCorrection
};

const Parameter kParameters[kParameterCount] = {
    {"Strength", F0R_PARAM_DOUBLE,
     "The plug-in's correction: how hard the colour cast is pulled back and the levels stretched: 0..1 is "
     "strength 1..500; "
     "0.05 is 25, the default",
     LiveSettings{}.level / double(kMaxLevel)},
    {"Soft", F0R_PARAM_BOOL, "The plug-in's correction: draw the three channels' end points together", 0},
    {"Border", F0R_PARAM_BOOL, "Analyse only the picture inside the four offsets (Up, Left, Right, Down)", 0},
    {"Up", F0R_PARAM_DOUBLE, "Border: rows left out at the top, as a share of the height", 0},
    {"Left", F0R_PARAM_DOUBLE, "Border: columns left out on the left, as a share of the width", 0},
    {"Right", F0R_PARAM_DOUBLE, "Border: columns left out on the right, as a share of the width", 0},
    {"Down", F0R_PARAM_DOUBLE, "Border: rows left out at the bottom, as a share of the height", 0},
    {"Histogram", F0R_PARAM_BOOL, "Draw the corrected picture's red, green and blue histograms over it", 0},
    {"Scene cuts", F0R_PARAM_BOOL,
     "Find the cuts between shots and start the correction afresh at each, so no shot's levels "
     "linger in the next",
     0},
    {"Sensitivity", F0R_PARAM_DOUBLE,
     "Scene cuts: 0..1 is 0..100; a frame whose cut score is above 100 - sensitivity starts a shot",
     kDefaultSensitivity / 100.0},
    {"Plug-in correction", F0R_PARAM_BOOL,
     "The VirtualDub plug-in's correction, which Strength and Soft set, instead of balance (the white and "
     "black of the picture brought to neutral)",
     0},
};

namespace {

int32_t scaled(double value, int32_t range) {
    if (!(value > 0)) return 0;
    if (value > 1) return range;
    return trunc_to_int(value * range + 0.5);
}

int32_t flag(double value) { return value >= 0.5 ? 1 : 0; }

int32_t offset(double value, int32_t dimension) {
    const int32_t rows = scaled(value, dimension);
    return rows < kMinOffset ? kMinOffset : std::min(rows, offset_slider_max(dimension));
}

}  // namespace

LiveSettings live_settings(const ParameterValues& v, int32_t width, int32_t height) {
    LiveSettings s;
    if (flag(v[kPluginCorrection])) s.correction = Correction::kPlugin;
    s.level = std::max(kMinLevel, scaled(v[kStrength], kMaxLevel));
    s.soft = flag(v[kSoft]);
    s.border = flag(v[kBorder]);
    // As in the dialog, an offset that leaves fewer than 10 rows or columns
    // pulls its opposite back.
    s.nup = offset(v[kUp], height);
    s.ndown = coupled_opposite(s.nup, offset(v[kDown], height), height);
    s.nleft = offset(v[kLeft], width);
    s.nright = coupled_opposite(s.nleft, offset(v[kRight], width), width);
    s.show_histogram = flag(v[kHistogram]);
    if (flag(v[kSceneCuts])) s.sensitivity = scaled(v[kSensitivity], 100);
    return s;
}

}  // namespace kelvra::frei0r
