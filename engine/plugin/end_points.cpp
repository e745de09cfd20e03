// SPDX-License-Identifier: GPL-2.0-or-later
#include "plugin/end_points.h"

#include "base/x86_arith.h"
#include "plugin/gisto.h"
#include "plugin/koren.h"

namespace kelvra {

Levels raw_end_points(const gisto& hist, int32_t level) {
    const int32_t start[3] = {hist.GetStartR(), hist.GetStartG(), hist.GetStartB()};
    const int32_t end[3] = {hist.GetEndR(), hist.GetEndG(), hist.GetEndB()};
    const double med[3] = {static_cast<double>(hist.GetSredR()), static_cast<double>(hist.GetSredG()),
                           static_cast<double>(hist.GetSredB())};

    // 0.3333333, not 1/3: the mean sits a hair below the true mean.
    const double mean = (med[0] + med[1] + med[2]) * 0.3333333;
    const double b = 1.0 / static_cast<double>(level);

    Levels out;
    for (int c = 0; c < 3; ++c) {
        const double deviation = koren((med[c] - mean) * 0.5, b);
        out.v[c] = trunc_to_int(koren(start[c] * 0.5, b) + deviation);
        const double distance = static_cast<double>(wrap_sub(255, end[c])) * 0.5;
        out.v[c + 3] = trunc_to_int((255.0 - koren(distance, b)) + deviation);
    }
    return out;
}

void apply_soft(Levels& levels) {
    int32_t* v = levels.v;
    int32_t sum = 0;
    for (int c = 0; c < 3; ++c) sum = wrap_add(sum, v[c]);
    for (int c = 3; c < 6; ++c) sum = wrap_add(sum, wrap_sub(v[c], 255));
    const int32_t shift = trunc_to_int(static_cast<double>(sum) / 3.0);
    const int32_t twice_shift = wrap_mul(2, shift);

    int32_t mx = 0;
    int32_t mn = 255;
    for (int c = 0; c < 3; ++c) {
        if (v[c] > mx) mx = v[c];
        if (v[c + 3] < mn) mn = v[c + 3];
    }
    // The shift lands twice: once per channel, once more on all six.
    for (int c = 0; c < 3; ++c) {
        v[c] = wrap_add(wrap_sub(v[c], mx), twice_shift);
        v[c + 3] = wrap_add(wrap_add(v[c + 3], wrap_sub(255, mn)), twice_shift);
    }
}

namespace {

// Freeze gives the levels last computed; otherwise they become the last.
void freeze_or_keep(FilterData& fd, const Settings& settings, Levels& levels) {
    for (int i = 0; i < kLevels; ++i) {
        if (settings.freeze)
            levels.v[i] = fd.current[i];
        else
            fd.current[i] = levels.v[i];
    }
}

Levels disable_and_report(const Settings& settings, const Levels& own, Levels levels, FrameReport* report) {
    if (settings.disable) levels = Levels{{0, 0, 0, 255, 255, 255}};
    if (report) {
        report->own = own;
        report->applied = levels;
    }
    return levels;
}

}  // namespace

Levels track_history(FilterData& fd, const Settings& settings, const Levels& computed) {
    Levels levels = computed;
    freeze_or_keep(fd, settings, levels);
    for (int i = 0; i < kLevels; ++i) {
        for (int age = kHistory - 1; age > 0; --age) fd.history[i][age] = fd.history[i][age - 1];
        fd.history[i][0] = levels.v[i];
    }
    if (settings.dialog_closed) {
        for (int i = 0; i < kLevels; ++i) {
            double sum = 0.0;
            for (int age = 0; age < kHistory; ++age) sum += static_cast<double>(fd.history[i][age]);
            levels.v[i] = trunc_to_int(sum / 5.0);
        }
    }
    return levels;
}

Levels own_levels(const Settings& settings, const gisto& hist) {
    Levels own = raw_end_points(hist, settings.level);
    if (settings.soft) apply_soft(own);
    return own;
}

void restart_history(FilterData& fd, const Levels& own) {
    for (int i = 0; i < kLevels; ++i) {
        fd.current[i] = own.v[i];
        for (int age = 0; age < kHistory; ++age) fd.history[i][age] = own.v[i];
    }
}

void describe_frame(const gisto& hist, const Levels& own, FrameReport& report) {
    const int32_t start[3] = {hist.GetStartR(), hist.GetStartG(), hist.GetStartB()};
    const int32_t end[3] = {hist.GetEndR(), hist.GetEndG(), hist.GetEndB()};
    const int32_t median[3] = {hist.GetSredR(), hist.GetSredG(), hist.GetSredB()};
    for (int c = 0; c < 3; ++c) {
        report.start[c] = start[c];
        report.end[c] = end[c];
        report.median[c] = median[c];
    }
    report.own = own;
    int32_t (gisto::*const count[3])(int32_t) const = {&gisto::GetGisR, &gisto::GetGisG, &gisto::GetGisB};
    for (int c = 0; c < 3; ++c) {
        int64_t bins[kShapeBins] = {};
        int64_t total = 0;
        for (int32_t v = 0; v < 256; ++v) {
            bins[v / (256 / kShapeBins)] += (hist.*count[c])(v);
            total += (hist.*count[c])(v);
        }
        for (int b = 0; b < kShapeBins; ++b)
            report.shape[c][b] = static_cast<uint16_t>(total > 0 ? bins[b] * 65535 / total : 0);
    }
}

Levels end_points(FilterData& fd, const Settings& settings, const Levels& own, FrameReport* report) {
    return disable_and_report(settings, own, track_history(fd, settings, own), report);
}

Levels hold_or_disable(FilterData& fd, const Settings& settings, const Levels& own, const Levels& levels,
                       FrameReport* report) {
    Levels held = levels;
    freeze_or_keep(fd, settings, held);
    return disable_and_report(settings, own, held, report);
}

}  // namespace kelvra
