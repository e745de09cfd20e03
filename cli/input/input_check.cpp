// SPDX-License-Identifier: GPL-2.0-or-later
#include "input/input_check.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>

#include "input/file_decoder.h"
#include "input/media_info.h"
#include "input/probe.h"
#include "process/process.h"

namespace kelvra::cli {
namespace {

bool check_readable(const std::string& path, std::string& error) {
    const int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        error = "cannot read input \"" + path + "\": " + std::strerror(errno);
        return false;
    }
    struct stat st;
    const bool folder = fstat(fd, &st) == 0 && S_ISDIR(st.st_mode);
    close(fd);
    if (folder) error = "input \"" + path + "\" is a folder, not a file";
    return !folder;
}

std::optional<MediaInfo> probe(const Tools& tools, const std::string& path, bool count, std::string& error) {
    std::string why;
    const std::optional<std::string> report = run_capture(probe_args(tools.ffprobe, path, count), why);
    if (!report) {
        error = "cannot read \"" + path + "\" as a video or an image: " + why;
        return std::nullopt;
    }
    return parse_probe_report(*report);
}

}  // namespace

std::optional<Tools> find_tools(std::string& error) {
    Tools t{find_program("ffmpeg"), find_program("ffprobe")};
    if (t.ffmpeg.empty() || t.ffprobe.empty()) {
        error = std::string(t.ffmpeg.empty() ? "ffmpeg" : "ffprobe") +
                " not found on PATH: install the Debian package ffmpeg (./scripts/install-deps.sh does)";
        return std::nullopt;
    }
    return t;
}

std::optional<MediaInfo> inspect_input(const Tools& tools, const std::string& path, bool need_count,
                                       std::string& error) {
    if (!check_readable(path, error)) return std::nullopt;
    std::optional<MediaInfo> info = probe(tools, path, false, error);
    if (!info) return std::nullopt;
    if (info->video_index < 0) {
        error = "\"" + path + "\" has no video stream";
        return std::nullopt;
    }
    if (info->width < 1 || info->height < 1 || int64_t{info->width} * info->height > kMaxPixels) {
        error = "\"" + path + "\": unsupported picture size " + std::to_string(info->width) + "x" +
                std::to_string(info->height);
        return std::nullopt;
    }
    if (!info->image_format) {
        // Where the first frame really starts keeps the video in sync with
        // the streams copied beside it; the tags tell what else is copied.
        if (const std::optional<FileDecoder::Facts> facts =
                FileDecoder::read_facts(path, info->video_index)) {
            if (const std::optional<double> first = facts->first_frame_time)
                info->video_delay = *first > info->file_start ? *first - info->file_start : 0;
            info->tags_known = true;
            info->file_tags = facts->file_tags;
            info->video_tags = facts->video_tags;
            info->chapters = facts->chapters;
        }
    }
    if ((need_count || info->image_format) && !info->frame_count) {
        const std::optional<MediaInfo> counted = probe(tools, path, true, error);
        if (!counted) return std::nullopt;
        info->frame_count = counted->frame_count;
    }
    return info;
}

bool is_still_image(const MediaInfo& info) { return info.image_format && info.frame_count == 1; }

}  // namespace kelvra::cli
