// SPDX-License-Identifier: GPL-2.0-or-later
#include "live_pipeline.h"

#include <algorithm>
#include <cstring>

#include "base/top_down.h"
#include "overlay/overlay.h"
#include "pass/frame_pass.h"
#include "settings.h"
#include "stretch/remap.h"

namespace kelvra::obs {
namespace {

// Longer than this without a frame drawn (the source hidden, the scene
// switched away) and the next frame does not follow on: the correction
// starts afresh from it.
constexpr uint64_t kPauseNs = 500'000'000;

bool same(const Lattice& a, const Lattice& b) {
    return a.left == b.left && a.top == b.top && a.step == b.step && a.columns == b.columns &&
           a.rows == b.rows;
}

}  // namespace

bool LivePipeline::create(const char* effect_file) {
    effect_ = effect_file ? gs_effect_create_from_file(effect_file, nullptr) : nullptr;
    if (!effect_) return false;
    image_ = gs_effect_get_param_by_name(effect_, "image");
    lut_param_ = gs_effect_get_param_by_name(effect_, "lut");
    origin_ = gs_effect_get_param_by_name(effect_, "lattice_origin");
    size_ = gs_effect_get_param_by_name(effect_, "lattice_size");
    step_ = gs_effect_get_param_by_name(effect_, "lattice_step");
    for (gs_texrender_t*& frame : frames_) frame = gs_texrender_create(GS_RGBA, GS_ZS_NONE);
    copy_ = gs_texrender_create(GS_RGBA, GS_ZS_NONE);
    lut_ = gs_texture_create(256, 1, GS_RGBA, 1, nullptr, GS_DYNAMIC);
    return lut_ && copy_ && frames_[0] && frames_[1];
}

void LivePipeline::destroy() {
    for (gs_texrender_t* frame : frames_) gs_texrender_destroy(frame);
    gs_texrender_destroy(copy_);
    for (gs_stagesurf_t* stage : stages_) gs_stagesurface_destroy(stage);
    gs_texture_destroy(lut_);
    gs_texture_destroy(overlay_);
    gs_effect_destroy(effect_);
}

void LivePipeline::render(obs_source_t* filter, const LiveSettings& user) {
    obs_source_t* target = obs_filter_get_target(filter);
    const uint32_t width = target ? obs_source_get_base_width(target) : 0;
    const uint32_t height = target ? obs_source_get_base_height(target) : 0;
    const LiveSettings settings = fitted(user, int32_t(width), int32_t(height));
    const Lattice lattice = balance_lattice(settings, int32_t(width), int32_t(height));
    if (!effect_ || lattice.columns == 0) {
        obs_source_skip_video_filter(filter);
        return;
    }
    const uint64_t now = obs_get_video_frame_time();
    fit(width, height, lattice);
    // Drawn again within the same frame (a projector, a second view): the
    // same picture as the first time.
    if (staged_ && now == last_render_ns_) {
        draw_levels(gs_texrender_get_texture(frames_[shown_]));
        draw_overlay();
        return;
    }
    if (!draw_source(filter, frames_[current_])) return;
    copy_lattice(gs_texrender_get_texture(frames_[current_]));
    gs_stage_texture(stages_[current_], gs_texrender_get_texture(copy_));
    if (last_render_ns_ && now - last_render_ns_ > kPauseNs) time_ += 2;
    last_render_ns_ = now;
    // The first frame is read back at once, the one wait on the GPU; every
    // frame after it is shown one frame late.
    shown_ = staged_ ? 1 - current_ : current_;
    LiveSettings measured = settings;
    measured.border = 0;  // the copy holds the analysis region alone
    if (read_back(stages_[shown_], measured)) upload_levels();
    draw_levels(gs_texrender_get_texture(frames_[shown_]));
    draw_overlay();
    current_ = 1 - current_;
    staged_ = true;
}

void LivePipeline::fit(uint32_t width, uint32_t height, const Lattice& lattice) {
    if (corrector_ && width == width_ && height == height_ && same(lattice, lattice_)) return;
    width_ = width;
    height_ = height;
    lattice_ = lattice;
    for (gs_stagesurf_t*& stage : stages_) {
        gs_stagesurface_destroy(stage);
        stage = gs_stagesurface_create(uint32_t(lattice.columns), uint32_t(lattice.rows), GS_RGBA);
    }
    gs_texture_destroy(overlay_);
    overlay_ = nullptr;
    corrector_ = std::make_unique<LiveCorrector>(lattice.columns, lattice.rows);
    pixels_.assign(size_t(lattice.columns) * size_t(lattice.rows), 0);
    previous_ = pixels_;
    staged_ = measured_ = false;
    current_ = 0;
    time_ = 0;
    last_render_ns_ = 0;
}

bool LivePipeline::draw_source(obs_source_t* filter, gs_texrender_t* frame) {
    if (!obs_source_process_filter_begin(filter, GS_RGBA, OBS_NO_DIRECT_RENDERING)) return false;
    gs_texrender_reset(frame);
    if (!gs_texrender_begin(frame, width_, height_)) return false;
    vec4 clear;
    vec4_zero(&clear);
    gs_clear(GS_CLEAR_COLOR, &clear, 0.0f, 0);
    gs_ortho(0.0f, float(width_), 0.0f, float(height_), -100.0f, 100.0f);
    obs_source_process_filter_tech_end(filter, effect_, width_, height_, "Copy");
    gs_texrender_end(frame);
    return true;
}

void LivePipeline::copy_lattice(gs_texture_t* frame) {
    gs_texrender_reset(copy_);
    const uint32_t columns = uint32_t(lattice_.columns), rows = uint32_t(lattice_.rows);
    if (!gs_texrender_begin(copy_, columns, rows)) return;
    gs_ortho(0.0f, float(columns), 0.0f, float(rows), -100.0f, 100.0f);
    gs_blend_state_push();
    gs_enable_blending(false);
    gs_effect_set_texture(image_, frame);
    vec2 origin;
    vec2_set(&origin, float(lattice_.left), float(lattice_.top));
    gs_effect_set_vec2(origin_, &origin);
    vec2 size;
    vec2_set(&size, float(columns), float(rows));
    gs_effect_set_vec2(size_, &size);
    gs_effect_set_float(step_, float(lattice_.step));
    while (gs_effect_loop(effect_, "Lattice")) gs_draw_sprite(frame, 0, columns, rows);
    gs_blend_state_pop();
    gs_texrender_end(copy_);
}

bool LivePipeline::read_back(gs_stagesurf_t* stage, const LiveSettings& settings) {
    uint8_t* data = nullptr;
    uint32_t linesize = 0;
    if (!gs_stagesurface_map(stage, &data, &linesize)) return false;
    const size_t row_bytes = size_t(lattice_.columns) * 4;
    for (int32_t y = 0; y < lattice_.rows; ++y)
        std::memcpy(pixels_.data() + size_t(y) * size_t(lattice_.columns), data + size_t(y) * linesize,
                    row_bytes);
    gs_stagesurface_unmap(stage);
    if (measured_ && pixels_ == previous_) return false;
    levels_ = corrector_->measure(settings, time_, pixels_.data());
    time_ += 1;
    pixels_.swap(previous_);
    measured_ = true;
    return true;
}

void LivePipeline::upload_levels() {
    const RemapTables tables = remap_tables(levels_);
    for (int v = 0; v < 256; ++v) {
        lut_bytes_[v][0] = uint8_t(tables.r[v] >> 16);
        lut_bytes_[v][1] = uint8_t(tables.g[v] >> 8);
        lut_bytes_[v][2] = uint8_t(tables.b[v]);
        lut_bytes_[v][3] = 255;
    }
    gs_texture_set_image(lut_, &lut_bytes_[0][0], sizeof lut_bytes_, false);
}

void LivePipeline::draw_levels(gs_texture_t* frame) {
    const bool srgb = gs_framebuffer_srgb_enabled();
    gs_enable_framebuffer_srgb(false);
    gs_blend_state_push();
    gs_blend_function(GS_BLEND_ONE, GS_BLEND_INVSRCALPHA);
    gs_effect_set_texture(image_, frame);
    gs_effect_set_texture(lut_param_, lut_);
    while (gs_effect_loop(effect_, "Levels")) gs_draw_sprite(frame, 0, width_, height_);
    gs_blend_state_pop();
    gs_enable_framebuffer_srgb(srgb);
}

// With the settings the frame was measured with, as its levels: a change
// reaches the picture with the next frame.
void LivePipeline::draw_overlay() {
    if (!measured_ || !corrector_->last_analysis().settings.show_histogram) return;
    const uint32_t width = std::min<uint32_t>(width_, uint32_t(kOverlayColumns));
    if (!overlay_) {
        overlay_ = gs_texture_create(width, height_, GS_BGRA, 1, nullptr, GS_DYNAMIC);
        overlay_pixels_.assign(size_t(width) * height_, 0);
    }
    // What the overlay leaves untouched keeps alpha 1 and is drawn clear.
    std::fill(overlay_pixels_.begin(), overlay_pixels_.end(), 0xFF000000u);
    draw_lattice_overlay(corrector_->last_analysis(), levels_, lattice_.step,
                         top_down_view(overlay_pixels_.data(), int32_t(width), int32_t(height_)));
    gs_texture_set_image(overlay_, reinterpret_cast<const uint8_t*>(overlay_pixels_.data()), width * 4,
                         false);
    const bool srgb = gs_framebuffer_srgb_enabled();
    gs_enable_framebuffer_srgb(false);
    gs_blend_state_push();
    gs_blend_function(GS_BLEND_ONE, GS_BLEND_INVSRCALPHA);
    gs_effect_set_texture(image_, overlay_);
    while (gs_effect_loop(effect_, "Overlay")) gs_draw_sprite(overlay_, 0, width, height_);
    gs_blend_state_pop();
    gs_enable_framebuffer_srgb(srgb);
}

}  // namespace kelvra::obs
