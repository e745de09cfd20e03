// SPDX-License-Identifier: GPL-2.0-or-later
// What the Kelvra filter costs in Debian's OBS at 1920x1080, 60 frames a
// second, beside OBS's own Color Correction filter on the same clip in the
// same run. Each source is rendered alone for a stretch of frames, paced at
// 60 a second, as OBS's graphics thread renders a scene:
//   render CPU   the rendering thread's own CPU time for the source's frame
//                (the filter's callbacks, its analysis, command submission)
//   all CPU      the whole process's CPU time a frame, llvmpipe's threads
//                (the "GPU" here) and the media source's decoder included
//   GPU          the frame's draw time by an OpenGL timer query; with
//                llvmpipe that is CPU time on llvmpipe's threads
// Prints one line per filter, and the filter's own cost over the
// unfiltered source.
#include <sys/resource.h>

#include <algorithm>
#include <chrono>
#include <cstdarg>
#include <cstdio>
#include <ctime>
#include <string>
#include <thread>
#include <vector>

#include "obs_host.h"

namespace {

double thread_cpu_ms() {
    timespec t;
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return double(t.tv_sec) * 1e3 + double(t.tv_nsec) / 1e6;
}

double process_cpu_ms() {
    rusage u;
    getrusage(RUSAGE_SELF, &u);
    return double(u.ru_utime.tv_sec + u.ru_stime.tv_sec) * 1e3 +
           double(u.ru_utime.tv_usec + u.ru_stime.tv_usec) / 1e3;
}

double percentile(std::vector<double> v, double share) {
    std::sort(v.begin(), v.end());
    return v.empty() ? 0 : v[size_t(double(v.size() - 1) * share)];
}

double mean(const std::vector<double>& v) {
    double sum = 0;
    for (double x : v) sum += x;
    return v.empty() ? 0 : sum / double(v.size());
}

// The render thread's mean counts the frames the filter measured (new
// pictures) and those it only drew (the same picture again) as they came.
struct Cost {
    double render_cpu, render_cpu_p90, all_cpu, gpu;
};

// Renders `source` `frames` times at 60 a second into a 1080p target, as
// the main view would.
Cost measure(obs_source_t* source, int frames) {
    obs_enter_graphics();
    gs_texrender_t* target = gs_texrender_create(GS_RGBA, GS_ZS_NONE);
    gs_timer_t* timer = gs_timer_create();
    obs_leave_graphics();
    std::vector<double> cpu, gpu;
    const double all_before = process_cpu_ms();
    auto next = std::chrono::steady_clock::now();
    for (int f = 0; f < frames; ++f) {
        next += std::chrono::microseconds(16667);
        std::this_thread::sleep_until(next);
        obs_enter_graphics();
        const double before = thread_cpu_ms();
        gs_texrender_reset(target);
        if (gs_texrender_begin(target, 1920, 1080)) {
            gs_ortho(0.0f, 1920.0f, 0.0f, 1080.0f, -100.0f, 100.0f);
            gs_timer_begin(timer);
            obs_source_video_render(source);
            gs_timer_end(timer);
            gs_texrender_end(target);
        }
        cpu.push_back(thread_cpu_ms() - before);
        gs_flush();
        uint64_t ticks = 0;
        // The frame before's query: waiting for this one would stall.
        if (f > 0 && gs_timer_get_data(timer, &ticks)) gpu.push_back(double(ticks) / 1e6);
        obs_leave_graphics();
    }
    const double all = (process_cpu_ms() - all_before) / frames;
    obs_enter_graphics();
    gs_timer_destroy(timer);
    gs_texrender_destroy(target);
    obs_leave_graphics();
    return Cost{mean(cpu), percentile(cpu, 0.9), all, percentile(gpu, 0.5)};
}

// Warnings and errors only, on standard error: the table alone on standard
// output.
void quiet_log(int level, const char* format, va_list args, void*) {
    if (level > LOG_WARNING) return;
    std::vfprintf(stderr, format, args);
    std::fputc('\n', stderr);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s CLIP (1920x1080, looped)\n", argv[0]);
        return 2;
    }
    base_set_log_handler(quiet_log, nullptr);
    if (const std::string why = start_obs(1920, 1080, 60); !why.empty()) {
        std::fprintf(stderr, "OBS did not start: %s\n", why.c_str());
        return 1;
    }
    obs_data_t* looped = obs_data_create();
    obs_data_set_bool(looped, "looping", true);
    obs_data_t* color = obs_data_create();
    obs_data_set_double(color, "gamma", 0.2);
    obs_data_set_double(color, "saturation", 0.3);
    struct Row {
        const char* name;
        const char* id;
        obs_data_t* settings;
    };
    const Row rows[] = {{"no filter", nullptr, nullptr},
                        {"Color Correction (color_filter_v2)", "color_filter_v2", color},
                        {"Kelvra (balance)", "kelvra_filter", nullptr}};
    std::vector<Cost> costs;
    for (const Row& row : rows) {
        obs_source_t* source = media_source(row.name, argv[1]);
        obs_source_update(source, looped);
        obs_source_t* filter = row.id ? add_filter(source, row.settings, row.id) : nullptr;
        measure(source, 60);  // the clip started, the filter's textures made
        costs.push_back(measure(source, 600));
        obs_source_release(filter);
        obs_source_release(source);
    }
    std::printf(
        "| 1920x1080, 60 fps, ms a frame | render thread CPU, mean | its 90th percentile | whole process CPU "
        "| "
        "GPU (llvmpipe), median |\n");
    std::printf("|---|---|---|---|---|\n");
    for (size_t i = 0; i < costs.size(); ++i) {
        const Cost& c = costs[i];
        std::printf("| %s | %.3f | %.3f | %.2f | %.2f |\n", rows[i].name, c.render_cpu, c.render_cpu_p90,
                    c.all_cpu, c.gpu);
        if (i > 0)
            std::printf("| ... its own | %.3f | %.3f | %.2f | %.2f |\n", c.render_cpu - costs[0].render_cpu,
                        c.render_cpu_p90 - costs[0].render_cpu_p90, c.all_cpu - costs[0].all_cpu,
                        c.gpu - costs[0].gpu);
    }
    obs_data_release(color);
    obs_data_release(looped);
    stop_obs();
    return 0;
}
