// SPDX-License-Identifier: GPL-2.0-or-later
#include "balance/white_cluster.h"

#include <algorithm>
#include <cmath>

#include "base/x86_arith.h"

namespace kelvra {
namespace {

constexpr int kWhiteRounds = 4;
constexpr int32_t kScoreTop = 1023;

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

}  // namespace

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

}  // namespace kelvra
