// SPDX-License-Identifier: GPL-2.0-or-later
// The filter's work on the graphics thread. Each frame the source is drawn
// into one of two frame textures; the pixels balance measures (a lattice of
// at most 2^17, every fourth of every fourth row of 1920x1080) are copied
// into a small texture and staged for the CPU. The copy staged on the frame
// before is read back, which by then needs no wait on the GPU, the engine's
// live correction measures it, and that frame's texture is drawn through its
// levels, a 256 x 1 lookup texture. The picture shown is one frame late and
// always gets its own levels, a cut included.
#pragma once

#include <obs-module.h>

#include <cstdint>
#include <memory>
#include <vector>

#include "time/live_corrector.h"

namespace kelvra::obs {

class LivePipeline {
public:
    // In the graphics context; false when the effect cannot be loaded.
    bool create(const char* effect_file);
    // In the graphics context.
    void destroy();

    // The filter's video_render: draws `filter`'s source corrected.
    void render(obs_source_t* filter, const LiveSettings& settings);

private:
    // Frames of this size with this lattice; remade only when either changes.
    void fit(uint32_t width, uint32_t height, const Lattice& lattice);
    bool draw_source(obs_source_t* filter, gs_texrender_t* frame);
    void copy_lattice(gs_texture_t* frame);
    // Reads the staged copy back and measures it; false when it is the copy
    // measured before (the source showed its frame again).
    bool read_back(gs_stagesurf_t* stage, const LiveSettings& settings);
    void upload_levels();
    void draw_levels(gs_texture_t* frame);
    void draw_overlay();

    gs_effect_t* effect_ = nullptr;
    gs_eparam_t *image_ = nullptr, *lut_param_ = nullptr, *origin_ = nullptr, *size_ = nullptr,
                *step_ = nullptr;
    gs_texrender_t* frames_[2] = {};
    gs_texrender_t* copy_ = nullptr;
    gs_stagesurf_t* stages_[2] = {};
    gs_texture_t* lut_ = nullptr;
    gs_texture_t* overlay_ = nullptr;

    uint32_t width_ = 0, height_ = 0;
    Lattice lattice_;
    std::unique_ptr<LiveCorrector> corrector_;
    std::vector<uint32_t> pixels_, previous_;  // the copy read back, and the one before
    std::vector<uint32_t> overlay_pixels_;
    Levels levels_{};
    uint8_t lut_bytes_[256][4] = {};
    int current_ = 0;      // the frame texture and stage this frame fills
    int shown_ = 0;        // the frame texture drawn
    bool staged_ = false;  // the other ones hold the frame before
    bool measured_ = false;
    double time_ = 0;  // in frames measured; a pause in rendering adds a gap
    uint64_t last_render_ns_ = 0;
};

}  // namespace kelvra::obs
