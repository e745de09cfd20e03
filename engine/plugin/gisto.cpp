// SPDX-License-Identifier: GPL-2.0-or-later
// The analysis runs on smoothed counts: a five-point moving mean inside, the
// least-squares line through the five end bins at each end. Before the median
// search the smoothed counts are capped at a share of the smallest channel
// peak, so a large flat area of one colour weighs less than in a plain count.
#include "plugin/gisto.h"

#include <cstring>
#include <initializer_list>

#include "base/x86_arith.h"

namespace kelvra {
namespace {

// Weighted sums wrap like the int32 arithmetic they model; the scale is a
// double multiply, not an integer division.
int32_t scaled(int32_t weighted_sum, double factor) {
    return trunc_to_int(static_cast<double>(weighted_sum) * factor);
}

int32_t sum5(int32_t a, int32_t b, int32_t c, int32_t d, int32_t e) {
    return wrap_add(wrap_add(wrap_add(wrap_add(a, b), c), d), e);
}

void smooth(const int32_t* y, int32_t* s) {
    for (int i = 2; i <= 253; ++i) s[i] = scaled(sum5(y[i - 2], y[i - 1], y[i], y[i + 1], y[i + 2]), 0.2);
    s[0] = scaled(sum5(wrap_mul(3, y[0]), wrap_mul(2, y[1]), y[2], 0, wrap_mul(-1, y[4])), 0.2);
    s[1] = scaled(sum5(wrap_mul(4, y[0]), wrap_mul(3, y[1]), wrap_mul(2, y[2]), y[3], 0), 0.1);
    s[254] = scaled(sum5(y[252], wrap_mul(2, y[253]), wrap_mul(3, y[254]), wrap_mul(4, y[255]), 0), 0.1);
    s[255] = scaled(sum5(wrap_mul(-1, y[251]), y[253], wrap_mul(2, y[254]), wrap_mul(3, y[255]), 0), 0.2);
}

int32_t find_start(const int32_t* s, int32_t threshold) {
    double t = 0.0;
    for (int j = 1; j <= 126; ++j) {
        t += s[j];
        if (t >= static_cast<double>(threshold)) return j;
    }
    return 127;
}

int32_t find_end(const int32_t* s, int32_t threshold) {
    double t = 0.0;
    for (int j = 254; j >= 129; --j) {
        t += s[j];
        if (t >= static_cast<double>(threshold)) return j;
    }
    return 128;
}

int32_t peak(const int32_t* s) {
    int32_t m = 0;
    for (int i = 0; i < 256; ++i)
        if (s[i] > m) m = s[i];
    return m;
}

int32_t clip_and_sum(int32_t* s, int32_t clip) {
    int32_t sum = 0;
    for (int i = 0; i < 256; ++i) {
        if (s[i] > clip) s[i] = clip;
        sum = wrap_add(sum, s[i]);
    }
    return sum;
}

// A clipped total of 0 or less has no median; the raw counts' median keeps
// the channel deviations meaningful, and the middle bin stands in for an
// empty histogram.
int32_t raw_median(const int32_t* y) {
    int64_t total = 0;
    for (int i = 0; i < 256; ++i) total += y[i];
    if (total <= 0) return 128;
    int64_t run = 0;
    for (int i = 0; i < 256; ++i) {
        run += y[i];
        if (run > total / 2) return i;
    }
    return 128;
}

int32_t median(const int32_t* s, int32_t sum, const int32_t* raw) {
    const int32_t half = sum / 2;
    int32_t u = 0;
    for (int j = 0; j < 256; ++j) {
        u = wrap_add(u, s[j]);
        if (u > half) return j;
    }
    return raw_median(raw);
}

}  // namespace

gisto::gisto() {
    std::memset(GisR, 0, sizeof GisR);
    std::memset(GisG, 0, sizeof GisG);
    std::memset(GisB, 0, sizeof GisB);
    std::memset(GisR_S, 0, sizeof GisR_S);
    std::memset(GisG_S, 0, sizeof GisG_S);
    std::memset(GisB_S, 0, sizeof GisB_S);
}

void gisto::AddCounts(const int32_t* r, const int32_t* g, const int32_t* b) {
    for (int i = 0; i < 256; ++i) {
        GisR[i] = wrap_add(GisR[i], r[i]);
        GisG[i] = wrap_add(GisG[i], g[i]);
        GisB[i] = wrap_add(GisB[i], b[i]);
    }
}

void gisto::starting() {
    smooth(GisR, GisR_S);
    smooth(GisG, GisG_S);
    smooth(GisB, GisB_S);

    StartR = find_start(GisR_S, level_k);
    StartG = find_start(GisG_S, level_k);
    StartB = find_start(GisB_S, level_k);
    EndR = find_end(GisR_S, level_k);
    EndG = find_end(GisG_S, level_k);
    EndB = find_end(GisB_S, level_k);

    int32_t m = 205753600;
    for (int32_t channel_peak : {peak(GisR_S), peak(GisG_S), peak(GisB_S)})
        if (channel_peak < m) m = channel_peak;
    const int32_t clip = trunc_to_int(static_cast<double>(level) * static_cast<double>(m) / 40.0);

    SumR_S = clip_and_sum(GisR_S, clip);
    SumG_S = clip_and_sum(GisG_S, clip);
    SumB_S = clip_and_sum(GisB_S, clip);

    SredR = median(GisR_S, SumR_S, GisR);
    SredG = median(GisG_S, SumG_S, GisG);
    SredB = median(GisB_S, SumB_S, GisB);
}

}  // namespace kelvra
