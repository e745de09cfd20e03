// One fresh plug-in instance as the editor renders with it: dialog closed,
// five-frame history from the defaults, no outline. Frames are top-down
// 32-bit BGRA buffers (ffmpeg's `bgra`), the picture's top line first, so UP
// and DOWN mean what they mean in the editor.
#pragma once

#include <cstdint>

#include "end_points.h"
#include "filter_data.h"
#include "frame.h"
#include "settings.h"

namespace kelvra::cli {

// A width x height top-down buffer as the engine's bottom-up view: the last
// row in memory is the picture's bottom line.
Frame top_down_view(uint32_t* pixels, int32_t width, int32_t height);

// Writes the settings into a record's fields; the rest stays as it is.
void apply_settings(FilterData& fd, const CorrectionSettings& settings);

class Corrector {
public:
    Corrector(const CorrectionSettings& settings, int32_t width, int32_t height);

    // Corrects the next frame of the sequence into `dst` (may equal `src`
    // only when the alpha channel does not matter). The engine clears the
    // top byte; the source's alpha is put back.
    void correct(const uint32_t* src, uint32_t* dst);

    // Runs the first frame through the pass four extra times, so the history
    // holds its own end points and it gets the full correction.
    void warm_up(const uint32_t* src, uint32_t* dst);

    int64_t frames_done() const { return frames_done_; }

    // The six levels the last frame was stretched with, for a stretch of the
    // same frame at another depth.
    const Levels& applied_levels() const { return report_.applied; }

private:
    void pass(const uint32_t* src, uint32_t* dst);

    FilterData fd_;
    FrameReport report_{};
    int32_t width_, height_;
    int64_t freeze_after_;
    int64_t frames_done_ = 0;
};

}  // namespace kelvra::cli
