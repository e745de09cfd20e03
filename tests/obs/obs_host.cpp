// SPDX-License-Identifier: GPL-2.0-or-later
#include "obs_host.h"

#include <X11/Xlib.h>
#include <obs-nix-platform.h>

#include <chrono>
#include <cstring>
#include <thread>

namespace {

Display* display = nullptr;

void load_module(const char* bin, const char* data, std::string& error) {
    obs_module_t* module = nullptr;
    if (obs_open_module(&module, bin, data) != MODULE_SUCCESS)
        error += std::string("cannot open ") + bin + "; ";
    else if (!obs_init_module(module))
        error += std::string("cannot initialise ") + bin + "; ";
}

void load_found(void* param, const obs_module_info2* info) {
    if (std::strcmp(info->name, "kelvra-obs") == 0)
        load_module(info->bin_path, info->data_path, *static_cast<std::string*>(param));
}

}  // namespace

std::string start_obs(uint32_t width, uint32_t height, uint32_t fps) {
    display = XOpenDisplay(nullptr);
    if (!display) return "no X display";
    obs_set_nix_platform(OBS_NIX_PLATFORM_X11_EGL);
    obs_set_nix_platform_display(display);
    if (!obs_startup("en-US", nullptr, nullptr)) return "obs_startup failed";
    obs_video_info video = {};
    video.graphics_module = "libobs-opengl";
    video.fps_num = fps;
    video.fps_den = 1;
    video.base_width = video.output_width = width;
    video.base_height = video.output_height = height;
    video.output_format = VIDEO_FORMAT_BGRA;
    video.colorspace = VIDEO_CS_709;
    video.range = VIDEO_RANGE_FULL;
    video.scale_type = OBS_SCALE_DISABLE;
    video.gpu_conversion = true;
    if (const int e = obs_reset_video(&video); e != OBS_VIDEO_SUCCESS)
        return "obs_reset_video failed: " + std::to_string(e);
    obs_audio_info audio = {48000, SPEAKERS_STEREO};
    if (!obs_reset_audio(&audio)) return "obs_reset_audio failed";
    std::string error;
    load_module(OBS_SYSTEM_PLUGINS "/obs-ffmpeg.so", OBS_SYSTEM_DATA "/obs-ffmpeg", error);
    load_module(OBS_SYSTEM_PLUGINS "/obs-filters.so", OBS_SYSTEM_DATA "/obs-filters", error);
    obs_add_module_path(KELVRA_OBS_PLUGINS "/%module%/bin/64bit", KELVRA_OBS_PLUGINS "/%module%/data");
    obs_find_modules2(load_found, &error);
    return error;
}

void stop_obs() {
    obs_shutdown();
    if (display) XCloseDisplay(display);
    display = nullptr;
}

obs_source_t* media_source(const std::string& name, const std::string& file) {
    obs_data_t* s = obs_data_create();
    obs_data_set_bool(s, "is_local_file", true);
    obs_data_set_string(s, "local_file", file.c_str());
    obs_data_set_bool(s, "looping", false);
    obs_data_set_bool(s, "restart_on_activate", false);
    obs_data_set_bool(s, "clear_on_media_end", false);
    obs_data_set_bool(s, "hw_decode", false);
    obs_source_t* source = obs_source_create("ffmpeg_source", name.c_str(), s, nullptr);
    obs_data_release(s);
    return source;
}

obs_source_t* add_filter(obs_source_t* source, obs_data_t* settings, const char* id) {
    obs_source_t* filter = obs_source_create(id, id, settings, nullptr);
    if (filter) obs_source_filter_add(source, filter);
    return filter;
}

std::vector<uint32_t> render(obs_source_t* source) {
    const uint32_t w = obs_source_get_width(source), h = obs_source_get_height(source);
    std::vector<uint32_t> out;
    if (w == 0 || h == 0) return out;
    obs_enter_graphics();
    gs_texrender_t* target = gs_texrender_create(GS_BGRA, GS_ZS_NONE);
    gs_stagesurf_t* stage = gs_stagesurface_create(w, h, GS_BGRA);
    if (gs_texrender_begin(target, w, h)) {
        vec4 clear;
        vec4_zero(&clear);
        gs_clear(GS_CLEAR_COLOR, &clear, 0.0f, 0);
        gs_ortho(0.0f, float(w), 0.0f, float(h), -100.0f, 100.0f);
        gs_blend_state_push();
        gs_blend_function(GS_BLEND_ONE, GS_BLEND_ZERO);
        obs_source_video_render(source);
        gs_blend_state_pop();
        gs_texrender_end(target);
        gs_stage_texture(stage, gs_texrender_get_texture(target));
        uint8_t* data;
        uint32_t linesize;
        if (gs_stagesurface_map(stage, &data, &linesize)) {
            out.resize(size_t(w) * h);
            for (uint32_t y = 0; y < h; ++y)
                std::memcpy(&out[size_t(y) * w], data + size_t(y) * linesize, w * 4);
            gs_stagesurface_unmap(stage);
        }
    }
    gs_stagesurface_destroy(stage);
    gs_texrender_destroy(target);
    obs_leave_graphics();
    return out;
}

std::vector<std::vector<std::vector<uint32_t>>> play(const std::vector<obs_source_t*>& sources,
                                                     const std::function<void()>& during, size_t at) {
    std::vector<std::vector<std::vector<uint32_t>>> seen(sources.size());
    // From the start now: a source plays from its creation, and on a loaded
    // machine its first frames would be past before the first render.
    for (obs_source_t* source : sources) obs_source_media_restart(source);
    const auto start = std::chrono::steady_clock::now();
    int after_end = 0;
    bool done = !during;
    // Rendered a few times a frame of the clips, and on for a
    // while once all have ended: the filter shows each picture one frame late.
    while (after_end < 20 && std::chrono::steady_clock::now() - start < std::chrono::seconds(60)) {
        bool ended = true;
        for (size_t i = 0; i < sources.size(); ++i) {
            std::vector<uint32_t> picture = render(sources[i]);
            if (!picture.empty() && (seen[i].empty() || seen[i].back() != picture))
                seen[i].push_back(std::move(picture));
            ended = ended && obs_source_media_get_state(sources[i]) == OBS_MEDIA_STATE_ENDED;
        }
        if (!done && seen[0].size() == at) {
            during();
            done = true;
        }
        if (ended) ++after_end;
        std::this_thread::sleep_for(std::chrono::milliseconds(30));
    }
    return seen;
}
