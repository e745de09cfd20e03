// SPDX-License-Identifier: GPL-2.0-or-later
// Everything checked about the input before anything is written: the tools
// exist, the file can be read, and ffprobe finds a video stream in it.
#pragma once

#include <optional>
#include <string>

#include "input/media_info.h"

namespace kelvra::cli {

struct Tools {
    std::string ffmpeg, ffprobe;
};
std::optional<Tools> find_tools(std::string& error);

// `need_count`: count the frames by reading the file when its header does
// not say (image formats always are counted, to tell a still picture).
std::optional<MediaInfo> inspect_input(const Tools& tools, const std::string& path, bool need_count,
                                       std::string& error);

// A single picture in an image format: corrected on its own.
bool is_still_image(const MediaInfo& info);

}  // namespace kelvra::cli
