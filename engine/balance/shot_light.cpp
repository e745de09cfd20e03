// SPDX-License-Identifier: GPL-2.0-or-later
#include "balance/shot_light.h"

#include <algorithm>
#include <cmath>

#include "base/x86_arith.h"

namespace kelvra {
namespace {

// A level moves once its exact value has strayed this far from it, or has
// been nearer another whole level for this many frames in a row.
constexpr double kHold = 0.75;
constexpr int32_t kSettle = 12;
// How far the scene's points may move in a frame: a level, and a white's
// spread in thousandths.
constexpr double kSceneStep = 0.25;
constexpr double kSpreadStep = 1;
// The values the scene's points are averaged over lie this near their
// median: a level's noise, a white spread's.
constexpr double kNearLevels = 3;
constexpr double kNearSpread = 10;

double step_towards(double from, double to, double step) { return std::clamp(to, from - step, from + step); }

// White R G B, black R G B, spread.
ScenePoints to_points(const float* seen) {
    ScenePoints s;
    for (int c = 0; c < 3; ++c) {
        s.white[c] = seen[c];
        s.black[c] = seen[3 + c];
    }
    s.white_spread = seen[6];
    return s;
}

}  // namespace

ScenePoints ShotLight::window_scene() {
    const int64_t n = std::min<int64_t>(frames_, kWindow);
    float middle[kSeen];
    for (int v = 0; v < kSeen; ++v) {
        // The run's first frame counts kFirstWeight times: a thing that drives
        // in soon after the start is no more the scene than later.
        std::fill_n(scratch_, kFirstWeight, first_[v]);
        for (int64_t f = 0; f < n; ++f) scratch_[kFirstWeight + f] = seen_[f][v];
        // The mean of the values near the median: robust as the median, and
        // it moves smoothly where the values are whole levels.
        const int64_t total = kFirstWeight + n;
        float* const at = scratch_ + (total - 1) / 2;
        std::nth_element(scratch_, at, scratch_ + total);
        const double median = *at, near = v < 6 ? kNearLevels : kNearSpread;
        double sum = 0;
        int64_t count = 0;
        for (int64_t i = 0; i < total; ++i) {
            if (std::fabs(scratch_[i] - median) > near) continue;
            sum += scratch_[i];
            ++count;
        }
        middle[v] = float(sum / double(count));
    }
    return to_points(middle);
}

Levels ShotLight::add(const BalancePoints& points, const LightReading& light, bool shot_start,
                      ScenePoints& used) {
    const bool starts = shot_start || frames_ == 0 || (finds_cuts && light.track == LightTrack::kScene);
    if (starts) frames_ = 0;
    const double* const gain = light.gain;

    float* const seen = seen_[frames_ % kWindow];
    for (int c = 0; c < 3; ++c) {
        seen[c] = float(points.white[c] / gain[c]);
        seen[3 + c] = float(points.black[c] / gain[c]);
    }
    seen[6] = float(points.white_spread);
    if (starts) std::copy_n(seen, kSeen, first_);
    ++frames_;

    // The scene moves towards the median of what the frames show by a step
    // at most; the light moves it at once.
    const ScenePoints target = window_scene();
    for (int c = 0; c < 3; ++c) {
        scene_.white[c] =
            starts ? target.white[c] : step_towards(scene_.white[c], target.white[c], kSceneStep);
        scene_.black[c] =
            starts ? target.black[c] : step_towards(scene_.black[c], target.black[c], kSceneStep);
    }
    scene_.white_spread =
        starts ? target.white_spread : step_towards(scene_.white_spread, target.white_spread, kSpreadStep);

    // The scene in this frame's light: a white beyond 255 is clipped here.
    for (int c = 0; c < 3; ++c) {
        used.white[c] = std::clamp(scene_.white[c] * gain[c], 0.0, 255.0);
        used.black[c] = std::clamp(scene_.black[c] * gain[c], 0.0, 255.0);
    }
    used.white_spread = scene_.white_spread;

    const ExactLevels exact = exact_balance_levels(used);
    for (int i = 0; i < kLevels; ++i) {
        const int32_t nearest = round_to_int(exact.v[i]);
        waited_[i] = nearest == levels_.v[i] ? 0 : waited_[i] + 1;
        if (starts || std::fabs(exact.v[i] - levels_.v[i]) > kHold || waited_[i] >= kSettle) {
            levels_.v[i] = nearest;
            waited_[i] = 0;
        }
    }
    return levels_;
}

}  // namespace kelvra
