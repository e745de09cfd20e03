// SPDX-License-Identifier: GPL-2.0-or-later
#include "balance/clipped_white.h"

#include <algorithm>

#include "balance/white_cluster.h"
#include "base/x86_arith.h"

namespace kelvra {
namespace {

// The clip is looked at in every step-th pixel, the step the largest that
// leaves this many: fewer than twice as many are below the clip, the room
// measure_balance is given.
constexpr int32_t kBelowClipPixels = kBalanceScratch / 2;
// How much of the picture clips is counted on every fourth of those.
constexpr int32_t kSurveyStep = 4;

// A channel at the clip on under a tenth as many pixels as the most clipped
// one, when that clips on 1 in 100 or more, shows its own white: a highlight
// that reached the top, not a gain above it.
constexpr int32_t kShownAgainstMost = 10;
constexpr int32_t kClippedPicture = 100;

// A gain that clips a tenth of the picture, mostly where the channels below
// the clip are over half their whites, is a camera set for the wrong light,
// not a few bright or deeply coloured things. Just below such a clip only
// what has less of the gained channel is left, so its light is looked for
// where those channels stay under 0.8 of their whites, below where the gain
// clips the same light. How strong a gain is rises from a twentieth of the
// picture to three twentieths, and from a quarter of those pixels bright to
// three quarters: a thing passing moves the light found a little, not from
// one search to the other.
constexpr double kStrongFrom = 0.05, kStrongTo = 0.15;
constexpr double kBrightFrom = 0.25, kBrightTo = 0.75;
constexpr double kBrightShare = 0.5;
constexpr double kDimShare = 0.8;

struct ClipSurvey {
    int32_t visited = 0;
    int32_t below = 0;               // pixels below the clip in all three, copied out
    int32_t clipped[3] = {};         // pixels at the clip, per channel
    int32_t clipped_bright[3] = {};  // of those, the ones bright in every channel the white shows
};

// The highest byte at most `share` of the way from a channel's black to its
// white: a byte is above that share where it is above this.
int32_t byte_at(const BalancePoints& p, int c, double share) {
    return trunc_to_int(p.black[c] + share * (p.white[c] - p.black[c]));
}

ClipSurvey survey_clip(const uint32_t* pixels, int32_t count, const BalancePoints& p, uint32_t* below) {
    ClipSurvey s;
    // A pixel is bright where every channel the white shows is above its
    // byte; a channel at the clip in the white has none.
    int32_t bright_above[3];
    for (int c = 0; c < 3; ++c) bright_above[c] = p.white[c] < kClipLevel ? byte_at(p, c, kBrightShare) : -1;
    const int32_t step = std::max(count / kBelowClipPixels, int32_t{1});
    // Shares need fewer pixels than the search below the clip.
    for (int32_t i = 0; i < count; i += kSurveyStep * step) {
        const int32_t r = channel(pixels[i], 0), g = channel(pixels[i], 1), b = channel(pixels[i], 2);
        const int32_t bright = r > bright_above[0] && g > bright_above[1] && b > bright_above[2];
        const int32_t clip_r = r >= kClipLevel, clip_g = g >= kClipLevel, clip_b = b >= kClipLevel;
        s.clipped[0] += clip_r;
        s.clipped[1] += clip_g;
        s.clipped[2] += clip_b;
        s.clipped_bright[0] += clip_r & bright;
        s.clipped_bright[1] += clip_g & bright;
        s.clipped_bright[2] += clip_b & bright;
    }
    for (int32_t i = 0; i < count; i += step) {
        below[s.below] = pixels[i];
        s.below +=
            std::max({channel(pixels[i], 0), channel(pixels[i], 1), channel(pixels[i], 2)}) < kClipLevel;
    }
    s.visited = (count + kSurveyStep * step - 1) / (kSurveyStep * step);
    return s;
}

double ramp(double value, double from, double to) {
    return std::clamp((value - from) / (to - from), 0.0, 1.0);
}

int most_clipped(const ClipSurvey& s) { return int(std::max_element(s.clipped, s.clipped + 3) - s.clipped); }

// Which channels of the white hide a gain.
void hidden_channels(const BalancePoints& p, const ClipSurvey& s, bool (&hidden)[3]) {
    const int32_t most = s.clipped[most_clipped(s)];
    const bool clips_picture = int64_t{most} * kClippedPicture >= s.visited;
    for (int c = 0; c < 3; ++c)
        hidden[c] =
            p.white[c] >= kClipLevel && !(clips_picture && int64_t{s.clipped[c]} * kShownAgainstMost < most);
}

// How strong a gain the most clipped channel hides, 0..1.
double gain_strength(const ClipSurvey& s, const bool (&hidden)[3]) {
    const int most = most_clipped(s);
    if (!hidden[most] || s.clipped[most] == 0) return 0;
    return ramp(double(s.clipped[most]) / s.visited, kStrongFrom, kStrongTo) *
           ramp(double(s.clipped_bright[most]) / s.clipped[most], kBrightFrom, kBrightTo);
}

// Keeps the pixels whose shown channels stay dim, where there are enough.
int32_t keep_dim(const BalancePoints& p, const bool (&hidden)[3], uint32_t* below, int32_t n) {
    int32_t dim_to[3];
    for (int c = 0; c < 3; ++c) dim_to[c] = hidden[c] ? 255 : byte_at(p, c, kDimShare);
    int32_t kept = 0;
    for (int32_t i = 0; i < n; ++i) {
        if (channel(below[i], 0) <= dim_to[0] && channel(below[i], 1) <= dim_to[1] &&
            channel(below[i], 2) <= dim_to[2])
            std::swap(below[kept++], below[i]);
    }
    return kept >= kWhiteMinimum ? kept : n;
}

// The light's colour on the white's scale. Where a single channel hides a
// gain, the two others show the light's colour exactly and only the hidden
// channel's share is missing: it is the below-clip white's, against the two
// others as they compare with their own whites there, and no less than the
// clip showed. Where two hide one, a single channel cannot tell the colour,
// so the below-clip white is taken whole.
void light_colour(const BalancePoints& p, const bool (&hidden)[3], const int32_t (&below_white)[3],
                  double (&light)[3]) {
    int hiding = 0, which = 0, shown = 0;
    double scale = 0;
    for (int c = 0; c < 3; ++c) {
        light[c] = below_white[c];
        if (hidden[c]) {
            ++hiding;
            which = c;
        } else if (below_white[c] > p.black[c]) {
            scale += double(p.white[c] - p.black[c]) / (below_white[c] - p.black[c]);
            ++shown;
        }
    }
    if (hiding != 1 || shown != 2) return;
    for (int c = 0; c < 3; ++c) light[c] = p.white[c];
    light[which] =
        std::max<double>(p.white[which], p.black[which] + (below_white[which] - p.black[which]) * scale / 2);
}

// Adds `weight` times the light's colour that the jointly brightest of
// `n` pixels below the clip show.
void add_light(const BalancePoints& p, const bool (&hidden)[3], uint32_t* below, int32_t n, double weight,
               double (&light)[3]) {
    int32_t white[3] = {0, 0, 0};
    for (int32_t i = 0; i < n; ++i)
        for (int c = 0; c < 3; ++c) white[c] = std::max(white[c], channel(below[i], c));
    find_white(below, n, white);
    double colour[3];
    light_colour(p, hidden, white, colour);
    for (int c = 0; c < 3; ++c) light[c] += weight * colour[c];
}

}  // namespace

// The pixels below the clip in all three channels still carry every gain, so
// the light's colour is taken from the jointly brightest of them, scaled
// over the blacks until a channel meets the brightest white. That channel's
// clip point stays its white, so clipped highlights come out white. A clip
// hides a gain only upwards, so no channel's white rises above what it
// showed; how far the white's pixels stray stays the clipped white's, whose
// pixels are the white's own.
void see_past_clip(const uint32_t* pixels, int32_t count, uint32_t* below, BalancePoints& p) {
    const int32_t top = *std::max_element(p.white, p.white + 3);
    const int32_t least = *std::min_element(p.white, p.white + 3);
    if (top < kClipLevel || least >= kClipLevel) return;
    const ClipSurvey survey = survey_clip(pixels, count, p, below);
    if (survey.below < kWhiteMinimum) return;
    bool hidden[3];
    hidden_channels(p, survey, hidden);
    const double strong = gain_strength(survey, hidden);
    double light[3] = {0, 0, 0};
    // All the pixels below the clip first: looking below a strong gain
    // reorders them.
    if (strong < 1) add_light(p, hidden, below, survey.below, 1 - strong, light);
    if (strong > 0) add_light(p, hidden, below, keep_dim(p, hidden, below, survey.below), strong, light);
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

}  // namespace kelvra
