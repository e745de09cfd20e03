// SPDX-License-Identifier: GPL-2.0-or-later
// Automatic white balance and levels, one frame at a time.
//
// The source's analysis region is counted into a red, a green and a blue
// histogram. Each channel's dark and bright end points and its median (on
// smoothed counts) go through a soft limiter: the end points become a low and
// a high, and each median's deviation from the mean of the three shifts both,
// which pulls a colour cast back. Soft draws the channels' end points
// together, Freeze holds them, and while the dialog is closed they are
// averaged over the last five frames. Every channel is then stretched so its
// low maps to 0 and its high to 255.
#include "pass/frame_pass.h"

#include <algorithm>

#include "base/region.h"
#include "base/x86_arith.h"
#include "overlay/outline.h"
#include "overlay/overlay.h"
#include "plugin/count.h"
#include "plugin/end_points.h"
#include "plugin/gisto.h"
#include "stretch/remap.h"

namespace kelvra {

void analyse_frame(const FilterData& fd, const Frame& src, FrameAnalysis& a, const AnalysisPlan& plan) {
    // One consistent set of settings per frame; a change made meanwhile by the
    // dialog lands in the next frame, which the dialog asks the host for.
    a.settings = snapshot_settings(fd);
    a.correction = plan.correction;
    a.balance = BalancePoints{};
    a.counted = plan.correction == Correction::kPlugin || plan.counts || a.settings.show_histogram;
    const Region region = analysis_region(a.settings, src.width, src.height);
    if (a.counted) {
        a.hist = gisto();
        a.hist.SetLevel(25);
        a.hist.SetCadrov(region.count);
        a.hist.SetLevel_k(trunc_to_int(static_cast<double>(region.count) * 0.0066));
        // Every destination pixel off the outline is its source pixel
        // remapped, so the overlay's counts follow from the source's, taken
        // before an in-place pass overwrites it.
        count_source(src, region, a.hist, a.settings.show_histogram ? &a.source_counts : nullptr);
        a.hist.starting();
    }
    if (plan.correction == Correction::kBalance) {
        plan.sample->take(src, region);
        measure_light_cells(*plan.sample, a.cells);
        plan.light->follow(a.cells, a.light);
        // On the background: what passes over it is no part of the scene.
        const bool whole =
            std::all_of(a.light.background, a.light.background + kLightCells, [](bool b) { return b; });
        const int32_t count = whole ? plan.sample->count()
                                    : pixels_in_cells(*plan.sample, a.light.background, plan.sample->spare());
        a.balance = measure_balance(whole ? plan.sample->pixels() : plan.sample->spare(), count,
                                    plan.sample->scratch());
    }
}

Levels own_levels(const FrameAnalysis& a) {
    if (a.correction == Correction::kBalance) return balance_levels(a.balance);
    return own_levels(a.settings, a.hist);
}

namespace {

void describe(const FrameAnalysis& a, const Levels& own, FrameReport& report) {
    report = FrameReport{};
    if (a.counted) describe_frame(a.hist, own, report);
    report.correction = a.correction;
    report.balance = a.balance;
    report.own = own;
}

}  // namespace

void describe_frame(const FrameAnalysis& a, FrameReport& report) { describe(a, own_levels(a), report); }

void stretch_frame(const FrameAnalysis& a, const Frame& src, const Frame& dst, const Levels& levels) {
    const Settings& settings = a.settings;
    const RemapPlan plan = plan_remap(levels);
    remap_frame(src, dst, plan);

    ChannelCounts overlay_counts =
        settings.show_histogram ? remap_counts(a.source_counts, plan.tables) : ChannelCounts{};
    if (!settings.dialog_closed && settings.border)
        draw_outline(dst, settings, settings.show_histogram ? &overlay_counts : nullptr);
    if (settings.show_histogram) draw_overlay(dst, overlay_counts);
}

void draw_lattice_overlay(const FrameAnalysis& a, const Levels& levels, int32_t step, const Frame& dst) {
    ChannelCounts counts = remap_counts(a.source_counts, remap_tables(levels));
    const int32_t share = wrap_mul(step, step);
    for (int32_t* c : {counts.r, counts.g, counts.b})
        for (int v = 0; v < 256; ++v) c[v] = wrap_mul(c[v], share);
    draw_overlay(dst, counts);
}

namespace {

// Through the record's five-frame history, as the editor's plug-in has it.
Levels averaged_levels(FilterData& fd, const FrameAnalysis& a, bool shot_start, FrameReport* report) {
    const Levels own = own_levels(a);
    if (report) describe(a, own, *report);
    if (shot_start) restart_history(fd, own);
    return end_points(fd, a.settings, own, report);
}

}  // namespace

Levels step_levels(FilterData& fd, ShotLight& light, const FrameAnalysis& a, bool shot_start,
                   FrameReport* report) {
    if (a.correction == Correction::kPlugin) return averaged_levels(fd, a, shot_start, report);
    const Levels own = own_levels(a);
    if (report) describe(a, own, *report);
    LightReport light_report;
    static_cast<LightReading&>(light_report) = a.light;
    const Levels followed = light.add(a.balance, a.light, shot_start, light_report.used);
    if (report) report->light = light_report;
    return hold_or_disable(fd, a.settings, own, followed, report);
}

void run_frame_pass(FilterData& fd, const Frame& src, const Frame& dst, FrameReport* report,
                    const AnalysisPlan& plan) {
    FrameAnalysis a;
    analyse_frame(fd, src, a, plan);
    stretch_frame(a, src, dst, averaged_levels(fd, a, false, report));
}

}  // namespace kelvra
