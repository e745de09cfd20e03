// SPDX-License-Identifier: GPL-2.0-or-later
// Debian's libobs started in the test's process as OBS starts it: OpenGL
// on the X display (Xvfb here), obs-ffmpeg from the system's plug-in
// folder and kelvra-obs found in a plug-in folder by OBS's own search.
// Sources are rendered and read back on the test's thread.
#pragma once

#include <obs.h>

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

// Starts libobs once for the whole test program; empty when it started,
// else why not.
std::string start_obs(uint32_t width = 640, uint32_t height = 360, uint32_t fps = 30);

// Shuts libobs down, as OBS does on leaving: every source released first.
void stop_obs();

// A media source playing `file` once, as OBS's "Media Source" does.
obs_source_t* media_source(const std::string& name, const std::string& file);

// A filter of this id (Kelvra's by default) with these settings on top of
// `source`'s filters.
obs_source_t* add_filter(obs_source_t* source, obs_data_t* settings = nullptr,
                         const char* id = "kelvra_filter");

// The source as OBS renders it, filters included, at its own size: top-down
// 0xAARRGGBB pixels; empty while it has no picture.
std::vector<uint32_t> render(obs_source_t* source);

// What `sources` show while each plays to its end: every picture that
// differs from the one before it, source by source. `during` runs once
// on the way, once the first source has shown `at` pictures.
std::vector<std::vector<std::vector<uint32_t>>> play(const std::vector<obs_source_t*>& sources,
                                                     const std::function<void()>& during = {}, size_t at = 0);
