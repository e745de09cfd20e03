// SPDX-License-Identifier: GPL-2.0-or-later
#include "balance/balance.h"

#include <algorithm>
#include <cmath>

#include "base/x86_arith.h"

namespace kelvra {
namespace {

// The white is where the brightest 1 in 512 pixels reach (at least 5 of
// them), ranked by how near each is to the top of all three channels.
constexpr int32_t kWhiteShare = 512;
constexpr int32_t kWhiteMinimum = 5;
constexpr int kWhiteRounds = 4;
constexpr int32_t kScoreTop = 1023;
// Where the white is clipped, its colour is looked for among every step-th
// pixel, the step the largest that leaves this many: fewer than twice as
// many are below the clip, the room measure_balance is given.
constexpr int32_t kBelowClipPixels = kBalanceScratch / 2;

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

int32_t channel(uint32_t pixel, int c) { return static_cast<int32_t>((pixel >> (16 - 8 * c)) & 0xFF); }

// How near a pixel is to the white in all three channels at once: the least
// of its channels' shares of their whites, 0..kScoreTop. The shares come
// from a table per channel: a byte's share is the same for every pixel.
struct ShareTables {
    int16_t share[3][256];
};

ShareTables share_tables(const int32_t (&white)[3]) {
    ShareTables t;
    for (int c = 0; c < 3; ++c) {
        const int32_t scale = (kScoreTop << 12) / std::max(white[c], int32_t{1});
        for (int32_t v = 0; v < 256; ++v)
            t.share[c][v] = static_cast<int16_t>(std::min(kScoreTop, (v * scale) >> 12));
    }
    return t;
}

int32_t joint_score(uint32_t pixel, const ShareTables& t) {
    return std::min(
        {t.share[0][channel(pixel, 0)], t.share[1][channel(pixel, 1)], t.share[2][channel(pixel, 2)]});
}

// The jointly brightest pixels for a white: those whose score reaches the
// `wanted` best's, that is, whose every channel reaches its least byte.
struct Cluster {
    int32_t least[3];

    bool holds(uint32_t pixel) const {
        return channel(pixel, 0) >= least[0] && channel(pixel, 1) >= least[1] &&
               channel(pixel, 2) >= least[2];
    }
};

Cluster brightest(const uint32_t* pixels, int32_t count, const int32_t (&white)[3]) {
    const ShareTables tables = share_tables(white);
    int32_t scores[kScoreTop + 1] = {};
    for (int32_t i = 0; i < count; ++i) ++scores[joint_score(pixels[i], tables)];
    const int32_t wanted = std::max(kWhiteMinimum, count / kWhiteShare);
    int32_t threshold = kScoreTop;
    for (int32_t taken = scores[kScoreTop]; threshold > 0 && taken < wanted;) taken += scores[--threshold];
    Cluster cluster;
    for (int c = 0; c < 3; ++c) {
        // Shares rise with the byte, so the first byte that reaches it.
        cluster.least[c] = 0;
        while (cluster.least[c] < 256 && tables.share[c][cluster.least[c]] < threshold) ++cluster.least[c];
    }
    return cluster;
}

// Starts from each channel's own maximum and moves to the jointly brightest
// pixels' maximum until it settles: a colourful highlight in one channel
// loses to a white that is bright in all three. Gives the final white's
// cluster.
Cluster find_white(const uint32_t* pixels, int32_t count, int32_t (&white)[3]) {
    for (int round = 0; round < kWhiteRounds; ++round) {
        const Cluster cluster = brightest(pixels, count, white);
        int32_t next[3] = {0, 0, 0};
        for (int32_t i = 0; i < count; ++i) {
            if (!cluster.holds(pixels[i])) continue;
            for (int c = 0; c < 3; ++c) next[c] = std::max(next[c], channel(pixels[i], c));
        }
        if (std::equal(next, next + 3, white)) return cluster;
        std::copy(next, next + 3, white);
    }
    return brightest(pixels, count, white);
}

// How far the white's pixels stray from one colour, each by its largest
// channel's share of the white against their mean, in thousandths: a sheet of
// paper or a blown highlight hardly at all, the brightest bits of a sunset
// or of yellow lamps a lot.
int32_t white_spread(const uint32_t* pixels, int32_t count, const int32_t (&white)[3],
                     const Cluster& cluster) {
    double sum = 0;
    int32_t n = 0;
    for (int32_t i = 0; i < count; ++i) {
        if (!cluster.holds(pixels[i])) continue;
        double share[3], mean = 0;
        for (int c = 0; c < 3; ++c) {
            share[c] = channel(pixels[i], c) / static_cast<double>(std::max(white[c], int32_t{1}));
            mean += share[c] / 3;
        }
        double stray = 0;
        for (int c = 0; c < 3 && mean > 0; ++c) stray = std::max(stray, std::abs(share[c] / mean - 1));
        sum += stray;
        ++n;
    }
    return n ? round_to_int(1000 * sum / n) : 0;
}

// Where a single channel clipped, the two others still show the light's
// colour exactly, and only the clipped channel's share of it is hidden: that
// share is the below-clip white's, against the two others as they compare
// with their own whites there, and no less than the clip showed. Where two
// clipped, one channel alone cannot tell the colour, so the below-clip white
// is taken whole.
void light_colour(const BalancePoints& p, const int32_t (&below_white)[3], double (&light)[3]) {
    int clipped = 0, hidden = 0;
    for (int c = 0; c < 3; ++c) {
        light[c] = below_white[c];
        if (p.white[c] >= kClipLevel) {
            ++clipped;
            hidden = c;
        }
    }
    if (clipped != 1) return;
    double scale = 0;
    int shown = 0;
    for (int c = 0; c < 3; ++c) {
        if (c == hidden || below_white[c] <= p.black[c]) continue;
        scale += double(p.white[c] - p.black[c]) / (below_white[c] - p.black[c]);
        ++shown;
    }
    if (shown < 2) return;
    for (int c = 0; c < 3; ++c) light[c] = p.white[c];
    light[hidden] = std::max<double>(p.white[hidden],
                                     p.black[hidden] + (below_white[hidden] - p.black[hidden]) * scale / 2);
}

// A white at the clip in one channel and not in another shows the clip, not
// the light: a gain above it is hidden. The pixels below the clip in all
// three channels still carry every gain, so the light's colour is taken
// from the jointly brightest of them (light_colour), scaled over the blacks until a channel
// meets the brightest white. That channel's clip point stays its white, so
// clipped highlights come out white. A clip hides a gain only upwards, so no
// channel's white rises above what it showed; how far the white's pixels
// stray stays the clipped white's, whose pixels are the white's own.
void see_past_clip(const uint32_t* pixels, int32_t count, uint32_t* below, BalancePoints& p) {
    const int32_t top = *std::max_element(p.white, p.white + 3);
    const int32_t least = *std::min_element(p.white, p.white + 3);
    if (top < kClipLevel || least >= kClipLevel) return;
    const int32_t step = std::max(count / kBelowClipPixels, int32_t{1});
    int32_t white[3] = {0, 0, 0};
    int32_t n = 0;
    for (int32_t i = 0; i < count; i += step) {
        const uint32_t pixel = pixels[i];
        if (std::max({channel(pixel, 0), channel(pixel, 1), channel(pixel, 2)}) >= kClipLevel) continue;
        for (int c = 0; c < 3; ++c) white[c] = std::max(white[c], channel(pixel, c));
        below[n++] = pixel;
    }
    if (n < kWhiteMinimum) return;
    find_white(below, n, white);
    double light[3];
    light_colour(p, white, light);
    // The least scale at which a channel meets the brightest white.
    double scale = 0;
    for (int c = 0; c < 3; ++c) {
        if (light[c] <= p.black[c]) continue;
        const double meets = (top - p.black[c]) / (light[c] - p.black[c]);
        scale = scale > 0 ? std::min(scale, meets) : meets;
    }
    if (scale <= 0) return;
    for (int c = 0; c < 3; ++c)
        p.white[c] = std::min(p.white[c], round_to_int(p.black[c] + (light[c] - p.black[c]) * scale));
}

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
