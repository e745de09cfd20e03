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
#include "frame_pass.h"

#include "count.h"
#include "end_points.h"
#include "gisto.h"
#include "outline.h"
#include "overlay.h"
#include "region.h"
#include "remap.h"
#include "x86_arith.h"

namespace kelvra {

void run_frame_pass(FilterData& fd, const Frame& src, const Frame& dst, FrameReport* report) {
    // One consistent set of settings per frame; a change made meanwhile by the
    // dialog lands in the next frame, which the dialog asks the host for.
    const Settings settings = snapshot_settings(fd);

    gisto hist;
    hist.SetLevel(25);
    const Region region = analysis_region(settings, src.width, src.height);
    hist.SetCadrov(region.count);
    hist.SetLevel_k(trunc_to_int(static_cast<double>(region.count) * 0.0066));
    // Every destination pixel off the outline is its source pixel remapped, so
    // the overlay's counts follow from the source's, taken before an in-place
    // pass overwrites it.
    ChannelCounts source_counts;
    count_source(src, region, hist, settings.show_histogram ? &source_counts : nullptr);
    hist.starting();

    const Levels levels = end_points(fd, settings, hist, report);
    const RemapPlan plan = plan_remap(levels);
    remap_frame(src, dst, plan);

    ChannelCounts overlay_counts =
        settings.show_histogram ? remap_counts(source_counts, plan.tables) : ChannelCounts{};
    if (!settings.dialog_closed && settings.border)
        draw_outline(dst, settings, settings.show_histogram ? &overlay_counts : nullptr);
    if (settings.show_histogram) draw_overlay(dst, overlay_counts);
}

}  // namespace kelvra
