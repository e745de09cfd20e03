// SPDX-License-Identifier: GPL-2.0-or-later
// The "Kelvra" video filter: OBS's callbacks in, the live pipeline out.
// Settings change on the user interface's thread and are read once a frame
// on the graphics thread.
#include "filter.h"

#include <mutex>
#include <new>

#include "live_pipeline.h"
#include "settings.h"

namespace kelvra::obs {
namespace {

struct Filter {
    obs_source_t* source;
    std::mutex mutex;
    LiveSettings settings;  // guarded by the mutex
    LivePipeline pipeline;  // graphics thread
};

const char* filter_name(void*) { return obs_module_text("Kelvra"); }

void filter_update(void* data, obs_data_t* settings) {
    Filter& f = *static_cast<Filter*>(data);
    const LiveSettings read = read_settings(settings);
    const std::lock_guard<std::mutex> lock(f.mutex);
    f.settings = read;
}

void filter_destroy(void* data) {
    Filter* f = static_cast<Filter*>(data);
    obs_enter_graphics();
    f->pipeline.destroy();
    obs_leave_graphics();
    delete f;
}

void* filter_create(obs_data_t* settings, obs_source_t* source) {
    Filter* f = new (std::nothrow) Filter{source, {}, {}, {}};
    if (!f) return nullptr;
    filter_update(f, settings);
    char* effect_file = obs_module_file("kelvra.effect");
    obs_enter_graphics();
    const bool made = f->pipeline.create(effect_file);
    obs_leave_graphics();
    bfree(effect_file);
    if (!made) {
        blog(LOG_ERROR, "[kelvra-obs] kelvra.effect could not be loaded");
        filter_destroy(f);
        return nullptr;
    }
    return f;
}

void filter_render(void* data, gs_effect_t*) {
    Filter& f = *static_cast<Filter*>(data);
    LiveSettings settings;
    {
        const std::lock_guard<std::mutex> lock(f.mutex);
        settings = f.settings;
    }
    f.pipeline.render(f.source, settings);
}

obs_properties_t* filter_properties(void*) { return make_properties(); }

}  // namespace

void register_filter() {
    obs_source_info info = {};
    info.id = "kelvra_filter";
    info.type = OBS_SOURCE_TYPE_FILTER;
    info.output_flags = OBS_SOURCE_VIDEO;
    info.get_name = filter_name;
    info.create = filter_create;
    info.destroy = filter_destroy;
    info.update = filter_update;
    info.get_defaults = set_defaults;
    info.get_properties = filter_properties;
    info.video_render = filter_render;
    obs_register_source(&info);
}

}  // namespace kelvra::obs
