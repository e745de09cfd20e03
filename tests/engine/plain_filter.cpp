// SPDX-License-Identifier: GPL-2.0-or-later
#include "plain_filter.h"

#include <cmath>

#include "base/x86_arith.h"

namespace plain {
namespace {

using kelvra::trunc_to_int;
using kelvra::wrap_add;
using kelvra::wrap_mul;
using kelvra::wrap_sub;

struct Channel {
    int raw[256] = {};
    int smooth[256] = {};
    int start = 127, end = 128, median = 128;
};

int weighted(const int* y, const int* weights, int first) {
    int sum = 0;
    for (int i = 0; i < 5; ++i) sum = wrap_add(sum, wrap_mul(weights[i], y[first + i]));
    return sum;
}

void analyse(Channel ch[3], int threshold) {
    static const int w0[5] = {3, 2, 1, 0, -1}, w1[5] = {4, 3, 2, 1, 0};
    static const int w254[5] = {0, 1, 2, 3, 4}, w255[5] = {-1, 0, 1, 2, 3}, mid[5] = {1, 1, 1, 1, 1};
    for (int c = 0; c < 3; ++c) {
        const int* y = ch[c].raw;
        int* s = ch[c].smooth;
        s[0] = trunc_to_int(weighted(y, w0, 0) * 0.2);
        s[1] = trunc_to_int(weighted(y, w1, 0) * 0.1);
        for (int i = 2; i <= 253; ++i) s[i] = trunc_to_int(weighted(y, mid, i - 2) * 0.2);
        s[254] = trunc_to_int(weighted(y, w254, 251) * 0.1);
        s[255] = trunc_to_int(weighted(y, w255, 251) * 0.2);
        double t = 0;
        for (int j = 1; j <= 126; ++j)
            if ((t += s[j]) >= threshold) {
                ch[c].start = j;
                break;
            }
        t = 0;
        for (int j = 254; j >= 129; --j)
            if ((t += s[j]) >= threshold) {
                ch[c].end = j;
                break;
            }
    }
    int m = 205753600;
    for (int c = 0; c < 3; ++c) {
        int peak = 0;
        for (int i = 0; i < 256; ++i) peak = ch[c].smooth[i] > peak ? ch[c].smooth[i] : peak;
        m = peak < m ? peak : m;
    }
    const int clip = trunc_to_int(25.0 * m / 40.0);
    for (int c = 0; c < 3; ++c) {
        int total = 0;
        for (int i = 0; i < 256; ++i) {
            if (ch[c].smooth[i] > clip) ch[c].smooth[i] = clip;
            total = wrap_add(total, ch[c].smooth[i]);
        }
        int run = 0;
        bool found = false;
        for (int j = 0; j < 256 && !found; ++j) {
            run = wrap_add(run, ch[c].smooth[j]);
            if (run > total / 2) ch[c].median = j, found = true;
        }
        if (!found) {  // the raw counts' median, 128 when nothing was counted
            long long n = 0, acc = 0;
            for (int i = 0; i < 256; ++i) n += ch[c].raw[i];
            for (int i = 0; i < 256 && n > 0; ++i)
                if ((acc += ch[c].raw[i]) > n / 2) {
                    ch[c].median = i;
                    break;
                }
        }
    }
}

double limiter(double x, double b) { return 1.0 / (((x * x) * b) * 0.1 + 1.0) * x; }

int byte(uint32_t p, int c) { return (p >> (16 - 8 * c)) & 0xFF; }

bool inside(long long v, long long lo, long long hi) { return v >= lo && v <= hi; }

uint32_t overlay_pixel(uint32_t p, int x, int y, const Channel ch[3]) {
    bool white = (y == 32 && inside(x, 33, 287)) || (y == 64 && inside(x, 65, 319)) ||
                 (y == 96 && inside(x, 97, 351)) || (y == x - 256 && inside(x, 288, 351));
    for (int i = 1; i <= 8; ++i)
        white = white || (y == x - 32 * (i - 1) && inside(x, 32 * i + 1, 32 * i + 63));
    if (white) p = 0xFFFFFF;
    const uint32_t colour[3] = {0xFF6464, 0x64FF64, 0x6464FF};
    for (int c = 2; c >= 0; --c) {  // blue, green, red: the later wins
        const int base = 32 * (c + 1), k = x - base;
        if (k >= 1 && k <= 254 && y > base && y < base + ch[c].raw[k] / 30) p = colour[c];
    }
    return p;
}

}  // namespace

void frame_pass(kelvra::FilterData& fd, const std::vector<uint32_t>& src, std::vector<uint32_t>& dst, int w,
                int h) {
    Channel ch[3];
    const long long x0 = fd.border ? fd.nleft - 1LL : 0, x1 = fd.border ? w - 1LL - fd.nright : w - 1;
    const long long y0 = fd.border ? fd.ndown - 1LL : 0, y1 = fd.border ? h - 1LL - fd.nup : h - 1;
    const int count = fd.border ? wrap_mul(wrap_sub(wrap_sub(h + 2, fd.nup), fd.ndown),
                                           wrap_sub(wrap_sub(w + 2, fd.nleft), fd.nright))
                                : w * h;
    for (long long y = y0 < 0 ? 0 : y0; y <= y1 && y < h; ++y)
        for (long long x = x0 < 0 ? 0 : x0; x <= x1 && x < w; ++x)
            for (int c = 0; c < 3; ++c) ch[c].raw[byte(src[y * w + x], c)]++;
    analyse(ch, trunc_to_int(count * 0.0066));

    const double mean = (double(ch[0].median) + ch[1].median + ch[2].median) * 0.3333333;
    const double b = 1.0 / fd.level;
    int lv[6];
    for (int c = 0; c < 3; ++c) {
        const double dev = limiter((ch[c].median - mean) * 0.5, b);
        lv[c] = trunc_to_int(limiter(ch[c].start * 0.5, b) + dev);
        lv[c + 3] = trunc_to_int((255.0 - limiter(double(255 - ch[c].end) * 0.5, b)) + dev);
    }
    if (fd.soft) {
        int sum = 0;
        for (int c = 0; c < 3; ++c) sum = wrap_add(wrap_add(sum, lv[c]), wrap_sub(lv[c + 3], 255));
        const int shift = trunc_to_int(sum / 3.0);
        int mx = 0, mn = 255;
        for (int c = 0; c < 3; ++c) mx = lv[c] > mx ? lv[c] : mx, mn = lv[c + 3] < mn ? lv[c + 3] : mn;
        for (int c = 0; c < 3; ++c) {
            lv[c] = wrap_add(wrap_add(wrap_sub(lv[c], mx), shift), shift);
            lv[c + 3] = wrap_add(wrap_add(wrap_add(lv[c + 3], wrap_sub(255, mn)), shift), shift);
        }
    }
    for (int i = 0; i < 6; ++i) {
        if (fd.freeze) lv[i] = fd.current[i];
        fd.current[i] = lv[i];
        for (int age = 4; age >= 1; --age) fd.history[i][age] = fd.history[i][age - 1];
        fd.history[i][0] = lv[i];
        if (fd.dialog_closed) {
            double s = 0;
            for (int age = 0; age < 5; ++age) s += fd.history[i][age];
            lv[i] = trunc_to_int(s / 5.0);
        }
        if (fd.disable) lv[i] = i < 3 ? 0 : 255;
    }

    const bool outline = !fd.dialog_closed && fd.border;
    const long long top = h - (long long)fd.nup, bottom = fd.ndown - 1LL;
    const long long left = fd.nleft - 1LL, right = w - (long long)fd.nright;
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            uint32_t out = 0;
            for (int c = 0; c < 3; ++c) {
                const double scale = 255.0 / (double(lv[c + 3]) - double(lv[c]));
                int v = trunc_to_int(double(wrap_sub(byte(src[y * w + x], c), lv[c])) * scale);
                v = v < 0 ? 0 : v > 255 ? 255 : v;
                out |= uint32_t(v) << (16 - 8 * c);
            }
            const bool on_row_edge = (y == top || y == bottom) && inside(x, left + 1, right - 1);
            const bool on_col_edge = (x == left || x == right) && inside(y, bottom + 1, top - 1);
            dst[y * w + x] = outline && (on_row_edge || on_col_edge) ? 0xFF0000 : out;
        }

    if (fd.show_histogram) {
        Channel after[3];
        for (uint32_t p : dst)
            for (int c = 0; c < 3; ++c) after[c].raw[byte(p, c)]++;
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x) dst[y * w + x] = overlay_pixel(dst[y * w + x], x, y, after);
    }
}

}  // namespace plain
