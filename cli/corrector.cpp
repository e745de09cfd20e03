#include "corrector.h"

#include <cstddef>

#include "frame_pass.h"
#include "settings_edit.h"

namespace kelvra::cli {

Frame top_down_view(uint32_t* pixels, int32_t width, int32_t height) {
    const ptrdiff_t pitch = ptrdiff_t{width} * 4;
    return Frame{pixels + (ptrdiff_t{height} - 1) * width, width, height, -pitch};
}

// The seven values of the script line go in as the plug-in's script command
// stores them; the other two switches have no place in that line.
void apply_settings(FilterData& fd, const CorrectionSettings& s) {
    apply_config(fd, {s.level, s.soft, s.border, s.nup, s.nleft, s.nright, s.ndown});
    store_relaxed(fd.disable, s.disable);
    store_relaxed(fd.show_histogram, s.show_histogram);
}

Corrector::Corrector(const CorrectionSettings& s, int32_t width, int32_t height)
    : width_(width), height_(height), freeze_after_(s.freeze_after) {
    init_filter_data(fd_, width, height);
    apply_settings(fd_, s);
}

void Corrector::pass(const uint32_t* src, uint32_t* dst) {
    // The engine only reads the source; its view type is shared with the
    // destination.
    run_frame_pass(fd_, top_down_view(const_cast<uint32_t*>(src), width_, height_),
                   top_down_view(dst, width_, height_), &report_);
}

void Corrector::warm_up(const uint32_t* src, uint32_t* dst) {
    for (int i = 0; i < kHistory - 1; ++i) pass(src, dst);
}

void Corrector::correct(const uint32_t* src, uint32_t* dst) {
    // Frame number frames_done_ + 1 (counting from 1): Freeze is switched on
    // once frames 1..freeze_after have been analysed.
    if (freeze_after_ > 0 && frames_done_ == freeze_after_) fd_.freeze = 1;
    pass(src, dst);
    const size_t n = size_t(width_) * size_t(height_);
    for (size_t i = 0; i < n; ++i) dst[i] |= src[i] & 0xFF000000u;
    ++frames_done_;
}

}  // namespace kelvra::cli
