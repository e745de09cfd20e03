// SPDX-License-Identifier: GPL-2.0-or-later
#include "balance/balance.h"

#include <algorithm>
#include <cmath>

#include "balance/clipped_white.h"
#include "balance/white_cluster.h"
#include "base/x86_arith.h"

namespace kelvra {
namespace {

// Blacks of real pictures differ by a level or two between channels.
constexpr int32_t kBlackDeadZone = 2;
// At most this much of a common lift goes, so a fade to white stays one.
constexpr int32_t kLiftCap = 24;
// A picture whose channels all span fewer levels shows no white or black:
// a flat card, a black frame.
constexpr int32_t kMinRange = 24;
// No cast takes a channel below a third of its white.
constexpr double kMaxGain = 3.0;
// A white whose pixels spread this little (in thousandths) is trusted fully;
// from there less and less, and not at all from the second: it is the
// colour of the light or of the things lit, not a neutral.
constexpr double kTrustedSpread = 40;
constexpr double kDistrustedSpread = 150;

}  // namespace

BalancePoints measure_balance(const uint32_t* pixels, int32_t count, uint32_t* scratch) {
    if (count <= 0) return BalancePoints{{255, 255, 255}, {0, 0, 0}, 0};
    BalancePoints p{{0, 0, 0}, {255, 255, 255}, 0};
    for (int32_t i = 0; i < count; ++i) {
        for (int c = 0; c < 3; ++c) {
            p.white[c] = std::max(p.white[c], channel(pixels[i], c));
            p.black[c] = std::min(p.black[c], channel(pixels[i], c));
        }
    }
    const Cluster cluster = find_white(pixels, count, p.white);
    p.white_spread = white_spread(pixels, count, p.white, cluster);
    see_past_clip(pixels, count, scratch, p);
    return p;
}

ScenePoints scene_points(const BalancePoints& p) {
    ScenePoints s;
    for (int c = 0; c < 3; ++c) {
        s.white[c] = p.white[c];
        s.black[c] = p.black[c];
    }
    s.white_spread = p.white_spread;
    return s;
}

ExactLevels exact_balance_levels(const ScenePoints& p) {
    const double darkest = *std::min_element(p.black, p.black + 3);
    const double top = *std::max_element(p.white, p.white + 3);
    double range = 0;
    for (int c = 0; c < 3; ++c) range = std::max(range, p.white[c] - p.black[c]);
    if (range < kMinRange) return ExactLevels{{0, 0, 0, 255, 255, 255}};

    // Each channel's black and white go to the darkest channel's black, less
    // its lift, and the brightest channel's white; a white the more as it is
    // trusted.
    const double trust =
        std::clamp((kDistrustedSpread - p.white_spread) / (kDistrustedSpread - kTrustedSpread), 0.0, 1.0);
    const double target_black = darkest - std::min(darkest, double{kLiftCap});
    ExactLevels out;
    for (int c = 0; c < 3; ++c) {
        const double white = top * std::pow(p.white[c] / top, trust);
        const double black = darkest + std::max(0.0, p.black[c] - darkest - kBlackDeadZone);
        const double span = std::max(white - black, 1.0);
        const double gain = std::min((top - target_black) / span, kMaxGain);
        const double low = black - target_black / gain;
        out.v[c] = low;
        out.v[c + 3] = low + 255.0 / gain;
    }
    return out;
}

Levels balance_levels(const BalancePoints& p) {
    const ExactLevels exact = exact_balance_levels(scene_points(p));
    Levels out;
    for (int i = 0; i < kLevels; ++i) out.v[i] = round_to_int(exact.v[i]);
    return out;
}

}  // namespace kelvra
