// SPDX-License-Identifier: GPL-2.0-or-later
#include "output/output_format.h"

#include <algorithm>
#include <cctype>
#include <set>

namespace kelvra::cli {
namespace {

bool starts_with(const std::string& s, const std::string& prefix) { return s.rfind(prefix, 0) == 0; }

// Encoders that take RGB themselves: given the pipe's RGB they keep it, which
// is the lossless path.
const std::set<std::string> kRgbEncoders = {
    "ffv1",    "png",      "apng",       "tiff", "bmp",   "qtrle", "utvideo", "huffyuv",
    "ffvhuff", "rawvideo", "libx264rgb", "gif",  "targa", "sgi",   "pam",     "ppm"};

// Lossy YUV encoders that players expect in 4:2:0; left to themselves they
// would pick 4:4:4 for RGB input, which many players cannot show.
const std::set<std::string> kPlayerEncoders = {
    "libx264",    "h264",       "libx265",   "hevc",       "libvpx",     "libvpx-vp9", "vp8",
    "vp9",        "libaom-av1", "libsvtav1", "librav1e",   "av1",        "mpeg4",      "libxvid",
    "mpeg2video", "mpeg1video", "libtheora", "h264_vaapi", "hevc_vaapi", "h264_nvenc", "hevc_nvenc"};

// Containers whose default video encoder is one of the above.
const std::set<std::string> kPlayerContainers = {"mp4", "m4v",  "mov", "mkv", "webm", "avi", "mpg", "mpeg",
                                                 "ts",  "m2ts", "mts", "flv", "ogv",  "wmv", "asf", "3gp"};

const std::set<std::string> kImageExtensions = {"png",  "jpg", "jpeg", "bmp", "tif", "tiff",
                                                "webp", "ppm", "pgm",  "pnm", "pam", "tga",
                                                "jxl",  "exr", "dpx",  "jp2", "sgi"};

// Lossy formats whose pictures hold no alpha channel: given one, their
// encoders drop it without a word.
const std::set<std::string> kNoAlphaEncoders = {"mjpeg", "ljpeg", "jpegls"};
const std::set<std::string> kNoAlphaExtensions = {"jpg", "jpeg", "mjpg", "mjpeg"};

}  // namespace

std::string extension_of(const std::string& path) {
    const size_t slash = path.rfind('/');
    const size_t dot = path.rfind('.');
    if (dot == std::string::npos || (slash != std::string::npos && dot < slash)) return {};
    std::string ext = path.substr(dot + 1);
    std::transform(ext.begin(), ext.end(), ext.begin(), [](unsigned char c) { return std::tolower(c); });
    return ext;
}

bool is_rgb_pix_fmt(const std::string& f) {
    return starts_with(f, "rgb") || starts_with(f, "bgr") || starts_with(f, "gbr") ||
           starts_with(f, "argb") || starts_with(f, "abgr") || starts_with(f, "0rgb") ||
           starts_with(f, "0bgr") || f == "pal8" || starts_with(f, "x2rgb") || starts_with(f, "x2bgr");
}

bool has_alpha(const std::string& f) {
    return starts_with(f, "yuva") || starts_with(f, "gbrap") || starts_with(f, "ya") ||
           starts_with(f, "rgba") || starts_with(f, "bgra") || starts_with(f, "argb") ||
           starts_with(f, "abgr") || f == "pal8";
}

OutputFormat choose_output_format(const MediaInfo& input, const std::string& output_path,
                                  const std::string& codec, const std::string& user_pix_fmt,
                                  bool user_filters) {
    OutputFormat f;
    const std::string ext = extension_of(output_path);
    f.single_image = kImageExtensions.count(ext) > 0;
    const bool player = codec.empty() ? kPlayerContainers.count(ext) > 0 : kPlayerEncoders.count(codec) > 0;
    const bool no_alpha =
        codec.empty() ? kNoAlphaExtensions.count(ext) > 0 : kNoAlphaEncoders.count(codec) > 0;
    const bool keeps_alpha = has_alpha(input.pix_fmt) && !player && !no_alpha;
    f.pipe_format = keeps_alpha ? "bgra" : "bgr0";
    f.drops_alpha = has_alpha(input.pix_fmt) && !keeps_alpha;
    if (!user_pix_fmt.empty()) {
        f.yuv = !is_rgb_pix_fmt(user_pix_fmt) && !starts_with(user_pix_fmt, "gray");
        return f;
    }
    if (!player) return f;
    f.yuv = true;
    if (input.width % 2 == 0 && input.height % 2 == 0) {
        f.pix_fmt = "yuv420p";
    } else {
        f.pix_fmt = "yuv444p";
        f.warnings.push_back("the picture is " + std::to_string(input.width) + "x" +
                             std::to_string(input.height) +
                             ": 4:2:0 needs even sizes, writing yuv444p, which some players cannot show");
    }
    if (!user_filters) {
        f.pipe_format = f.pix_fmt;
        f.yuv_pipe = true;
    }
    return f;
}

}  // namespace kelvra::cli
