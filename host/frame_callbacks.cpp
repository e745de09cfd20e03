// SPDX-License-Identifier: GPL-2.0-or-later
// Instance creation, the start of a rendering run and the frame itself: each
// hands the host's records to the engine.
#include "pass/frame_pass.h"
#include "plugin.h"

namespace {

kelvra::Frame frame_of(const VDXFBitmap& bitmap) {
    return kelvra::Frame{bitmap.data, bitmap.w, bitmap.h, bitmap.pitch};
}

}  // namespace

int InitProc(VDXFilterActivation* fa, const VDXFilterFunctions*) {
    // A frame server calls this before it has filled the bitmaps: their size
    // is 0 then, and StartProc brings the real one.
    const VDXFBitmap* src = fa->src;
    kelvra::init_filter_data(record_of(fa), src ? src->w : 0, src ? src->h : 0);
    return 0;
}

int StartProc(VDXFilterActivation* fa, const VDXFilterFunctions*) {
    kelvra::FilterData& fd = record_of(fa);
    kelvra::store_relaxed(fd.frame_height, fa->src->h);
    kelvra::store_relaxed(fd.frame_width, fa->src->w);
    return 0;
}

int RunProc(const VDXFilterActivation* fa, const VDXFilterFunctions*) {
    kelvra::run_frame_pass(record_of(fa), frame_of(*fa->src), frame_of(*fa->dst));
    return 0;
}
