// SPDX-License-Identifier: GPL-2.0-or-later
#include "output/deep_format.h"

#include <algorithm>
#include <map>
#include <vector>

extern "C" {
#include <libavutil/pixdesc.h>
}

namespace kelvra::cli {
namespace {

constexpr int kPipeBits = 16;

// One output format an encoder takes; an empty name leaves the choice to
// ffmpeg, all of whose choices for that encoder have `bits`.
struct DepthFormat {
    int bits;
    const char* name;
    const char* with_alpha;
};

using DepthFormats = std::vector<DepthFormat>;

const DepthFormats kYuv420 = {{10, "yuv420p10le", "yuv420p10le"}, {12, "yuv420p12le", "yuv420p12le"}};
const DepthFormats kYuv444 = {{10, "yuv444p10le", "yuv444p10le"}, {12, "yuv444p12le", "yuv444p12le"}};

// Encoders that keep more than 8 bits, by their deepest formats. The 4:2:0
// encoders take 4:4:4 where the 8-bit choice did (odd sizes).
const std::map<std::string, DepthFormats> kDeepEncoders = {
    {"ffv1",
     {{9, "gbrp9le", "gbrap10le"},
      {10, "gbrp10le", "gbrap10le"},
      {12, "gbrp12le", "gbrap12le"},
      {14, "gbrp14le", "gbrap16le"},
      {16, "gbrp16le", "gbrap16le"}}},
    {"png", {{16, "rgb48be", "rgba64be"}}},
    {"apng", {{16, "rgb48be", "rgba64be"}}},
    {"tiff", {{16, "rgb48le", "rgba64le"}}},
    {"libx265", kYuv420},
    {"hevc", kYuv420},
    {"libvpx-vp9", kYuv420},
    {"vp9", kYuv420},
    {"libaom-av1", kYuv420},
    {"libsvtav1", {{10, "yuv420p10le", "yuv420p10le"}}},
    {"prores", {{10, "", ""}}},
    {"prores_ks", {{10, "", ""}}},
    {"dpx", {{16, "", ""}}},
    {"sgi", {{16, "", ""}}},
    {"pam", {{16, "", ""}}},
    {"ppm", {{16, "", ""}}},
    {"rawvideo", {{16, "", ""}}},
};

// ffmpeg's encoder for an extension, where kelvra needs to know it.
const std::map<std::string, std::string> kDefaultEncoders = {
    {"mkv", "libx264"},     {"mp4", "libx264"},     {"mov", "libx264"},    {"m4v", "libx264"},
    {"webm", "libvpx-vp9"}, {"avi", "mpeg4"},       {"mpg", "mpeg1video"}, {"mpeg", "mpeg1video"},
    {"ts", "mpeg2video"},   {"m2ts", "mpeg2video"}, {"mts", "mpeg2video"}, {"ogv", "libtheora"},
    {"flv", "flv"},         {"png", "png"},         {"tif", "tiff"},       {"tiff", "tiff"},
    {"jpg", "mjpeg"},       {"jpeg", "mjpeg"},      {"bmp", "bmp"},        {"webp", "libwebp"},
    {"dpx", "dpx"},         {"sgi", "sgi"},         {"pam", "pam"},        {"ppm", "ppm"},
    {"tga", "targa"},       {"3gp", "h263"},        {"wmv", "msmpeg4v3"},  {"asf", "msmpeg4v3"},
};

std::string to_4_4_4(const char* name) {
    std::string s = name;
    if (s.rfind("yuv420p", 0) == 0) s.replace(0, 7, "yuv444p");
    return s;
}

// The shallowest format that keeps `wanted` bits, else the deepest there is.
const DepthFormat& pick(const DepthFormats& formats, int wanted) {
    for (const DepthFormat& f : formats)
        if (f.bits >= wanted) return f;
    return formats.back();
}

std::string how_to_keep_more(bool single_image) {
    if (single_image) return "a .png or .tif output keeps 16, or choose with --ffmpeg -pix_fmt FMT";
    return "--codec libx265 keeps up to 12 and --codec ffv1 up to 16, or choose with --ffmpeg -pix_fmt FMT";
}

}  // namespace

int bits_per_channel(const std::string& pix_fmt) {
    const AVPixFmtDescriptor* d = av_pix_fmt_desc_get(av_get_pix_fmt(pix_fmt.c_str()));
    if (!d) return 0;
    int bits = 0;
    for (int i = 0; i < d->nb_components; ++i) bits = std::max(bits, d->comp[i].depth);
    return bits;
}

bool is_deep_input(const MediaInfo& input) { return bits_per_channel(input.pix_fmt) > 8; }

void adapt_to_deep_input(OutputFormat& format, const MediaInfo& input, const std::string& output_path,
                         const std::string& codec, const std::string& user_pix_fmt) {
    const bool alpha = format.pipe_format == "bgra";
    // An alpha the output drops still crosses the pipe, to tell whether it
    // held anything.
    format.pipe_format = alpha || format.drops_alpha ? "gbrap16le" : "gbrp16le";
    format.yuv_pipe = false;  // the encoder converts from the 16-bit pipe
    if (!user_pix_fmt.empty()) return;

    const int input_bits = std::min(bits_per_channel(input.pix_fmt), kPipeBits);
    std::string encoder = codec;
    if (encoder.empty()) {
        const auto it = kDefaultEncoders.find(extension_of(output_path));
        if (it == kDefaultEncoders.end()) return;  // ffmpeg picks from the 16-bit pipe
        encoder = it->second;
    }
    int kept = 8;
    if (const auto it = kDeepEncoders.find(encoder); it != kDeepEncoders.end()) {
        const DepthFormat& f = pick(it->second, input_bits);
        kept = std::min(f.bits, input_bits);
        const char* name = alpha ? f.with_alpha : f.name;
        format.pix_fmt = format.pix_fmt == "yuv444p" ? to_4_4_4(name) : name;
    }
    if (kept < input_bits) {
        format.warnings.push_back(encoder + " keeps " + std::to_string(kept) + " of the input's " +
                                  std::to_string(input_bits) + " bits per channel; " +
                                  how_to_keep_more(format.single_image));
    }
}

}  // namespace kelvra::cli
