// SPDX-License-Identifier: GPL-2.0-or-later
#include "output/ffmpeg_args.h"

#include <cmath>
#include <cstdio>

#include "colour/colour_tags.h"
#include "convert/yuv_conversion.h"

namespace kelvra::cli {
namespace {

constexpr const char* kScaleFlags = "flags=bicubic+accurate_rnd+full_chroma_int";

std::vector<std::string> common_start(const std::string& ffmpeg) {
    return {ffmpeg, "-hide_banner", "-nostdin", "-v", "error"};
}

bool interlaced(const std::string& field_order) {
    return !field_order.empty() && field_order != "progressive";
}

// tt and bt show the top field first.
std::string display_field_order(const std::string& field_order) {
    return field_order == "tt" || field_order == "bt" ? "tff" : "bff";
}

std::string seconds_text(double s) {
    char buf[32];
    std::snprintf(buf, sizeof buf, "%.6f", s);
    return buf;
}

// A video that starts after the file's other streams is delayed as much.
// The raw frames' time base is one frame, too coarse for that, so the delay
// is added on a 90 kHz clock, which the encoder keeps.
bool delayed(const MediaInfo& input, const Timing& timing, const EncodeRequest& request) {
    return request.copy_streams && !timing.resample && input.video_delay > 0;
}

std::string encoder_filters(const MediaInfo& input, const Timing& timing, const EncodeRequest& request,
                            const OutputFormat& format) {
    std::vector<std::string> filters;
    if (delayed(input, timing, request)) {
        filters.push_back("settb=1/90000,setpts=PTS+" + seconds_text(input.video_delay) + "/TB");
    }
    if (format.yuv && !format.yuv_pipe) {
        const auto [matrix, range] = output_matrix_and_range(input);
        std::string scale = std::string("scale=") + kScaleFlags + ":out_range=" + range;
        if (const std::string m = swscale_matrix(matrix); !m.empty()) scale += ":out_color_matrix=" + m;
        filters.push_back(scale);
    }
    if (interlaced(input.field_order))
        filters.push_back("setfield=" + display_field_order(input.field_order));
    if (!input.sample_aspect_ratio.empty()) {
        std::string sar = input.sample_aspect_ratio;
        sar[sar.find(':')] = '/';
        filters.push_back("setsar=" + sar);
    }
    std::string chain;
    for (const std::string& f : filters) chain += (chain.empty() ? "" : ",") + f;
    return chain;
}

void add_colour_tags(const MediaInfo& input, const OutputFormat& format, std::vector<std::string>& a) {
    if (format.yuv) {
        const auto [matrix, range] = output_matrix_and_range(input);
        if (!matrix.empty()) a.insert(a.end(), {"-colorspace:0", matrix});
        a.insert(a.end(), {"-color_range:0", range});
    }
    if (!input.colour.primaries.empty()) a.insert(a.end(), {"-color_primaries:0", input.colour.primaries});
    if (!input.colour.transfer.empty()) a.insert(a.end(), {"-color_trc:0", input.colour.transfer});
}

// Every stream but the corrected one, copied as it is, with the file's and
// the stream's metadata and the chapters.
void add_copied_streams(const MediaInfo& input, std::vector<std::string>& a) {
    // Naming one stream's metadata source stops ffmpeg copying any stream's
    // on its own, so every stream gets one.
    a.insert(a.end(), {"-map_metadata", "1", "-map_chapters", "1", "-map_metadata:s:0",
                       "1:s:" + std::to_string(input.video_index)});
    int out_index = 1;
    for (int i = 0; i < input.stream_count; ++i) {
        if (i == input.video_index) continue;
        const std::string in = "1:" + std::to_string(i), out = std::to_string(out_index++);
        a.insert(a.end(),
                 {"-map", in, "-c:" + out, "copy", "-map_metadata:s:" + out, "1:s:" + std::to_string(i)});
    }
}

// Whether the original file becomes the encoder's second input. Not when
// it has nothing to copy but tags that options can carry: with two inputs
// ffmpeg reads the frames on a thread of their own, into new buffers every
// time, and costs the kernel a good part of a plain transcode's decoding.
bool second_input(const MediaInfo& input, const EncodeRequest& request) {
    if (!request.copy_streams) return false;
    if (!input.tags_known || input.stream_count > 1 || input.chapters > 0 || !request.passthrough.empty())
        return true;
    // "-metadata k=" would delete the key, and a key with "=" cannot be named.
    for (const Tags* tags : {&input.file_tags, &input.video_tags}) {
        for (const auto& [key, value] : *tags) {
            if (key.empty() || key.find('=') != std::string::npos || value.empty()) return true;
        }
    }
    return false;
}

// The tags the second input would have given.
void add_tags(const MediaInfo& input, std::vector<std::string>& a) {
    for (const auto& [key, value] : input.file_tags) a.insert(a.end(), {"-metadata", key + "=" + value});
    for (const auto& [key, value] : input.video_tags) a.insert(a.end(), {"-metadata:s:0", key + "=" + value});
}

}  // namespace

std::pair<std::string, std::string> output_matrix_and_range(const MediaInfo& input) {
    if (is_rgb_pix_fmt(input.pix_fmt)) return {"bt709", "tv"};
    std::string range = input.colour.range;
    if (range.empty()) range = input.pix_fmt.rfind("yuvj", 0) == 0 ? "pc" : "tv";
    return {input.colour.matrix, range};
}

std::string decoder_pipe_format(const MediaInfo& input) {
    return is_planar_yuv8(input.pix_fmt) ? input.pix_fmt : "bgra";
}

Timing choose_timing(const MediaInfo& input) {
    const Rational r = input.frame_rate, avg = input.average_rate;
    if (r.valid() && avg.valid()) {
        const double nominal = double(r.num) / double(r.den), average = double(avg.num) / double(avg.den);
        if (std::fabs(nominal - average) > nominal * 1e-3) return {avg, true};
        return {r, false};
    }
    if (r.valid()) return {r, false};
    if (avg.valid()) return {avg, false};
    return {Rational{25, 1}, false};
}

std::vector<std::string> decoder_args(const std::string& ffmpeg, const MediaInfo& input, const Timing& timing,
                                      const std::string& input_path, bool single_frame,
                                      const std::string& pipe_format) {
    std::vector<std::string> a = common_start(ffmpeg);
    // One decoding thread costs less processor time than several, and the
    // encoder, not the decoder, sets the pace.
    a.insert(a.end(),
             {"-threads", "1", "-i", "file:" + input_path, "-map", "0:" + std::to_string(input.video_index)});
    if (timing.resample) {
        a.insert(a.end(), {"-fps_mode", "cfr", "-r", timing.rate.text()});
    } else {
        a.insert(a.end(), {"-fps_mode", "passthrough"});
    }
    if (pipe_format != input.pix_fmt && !is_rgb_pix_fmt(input.pix_fmt)) {
        // YUV to RGB with the input's own matrix and range.
        std::string scale = std::string("scale=") + kScaleFlags;
        if (const std::string m = swscale_matrix(input.colour.matrix); !m.empty())
            scale += ":in_color_matrix=" + m;
        if (!input.colour.range.empty()) scale += ":in_range=" + input.colour.range;
        a.insert(a.end(), {"-vf", scale});
    }
    if (single_frame) a.insert(a.end(), {"-frames:v", "1"});
    a.insert(a.end(), {"-f", "rawvideo", "-pix_fmt", pipe_format, "pipe:1"});
    return a;
}

std::vector<std::string> encoder_args(const std::string& ffmpeg, const MediaInfo& input, const Timing& timing,
                                      const OutputFormat& format, const EncodeRequest& request) {
    std::vector<std::string> a = common_start(ffmpeg);
    a.push_back("-y");
    a.insert(a.end(), {"-f", "rawvideo", "-pix_fmt", format.pipe_format, "-video_size",
                       std::to_string(input.width) + "x" + std::to_string(input.height), "-framerate",
                       timing.rate.text()});
    a.insert(a.end(), {"-i", "pipe:0"});
    const bool from_file = second_input(input, request);
    if (from_file) a.insert(a.end(), {"-i", "file:" + request.input_path});
    a.insert(a.end(), {"-map", "0:v:0"});
    if (from_file) {
        add_copied_streams(input, a);
    } else if (request.copy_streams) {
        add_tags(input, a);
    }
    if (!request.codec.empty()) a.insert(a.end(), {"-c:0", request.codec});
    if (request.crf) a.insert(a.end(), {"-crf:0", std::to_string(*request.crf)});
    if (!format.pix_fmt.empty()) a.insert(a.end(), {"-pix_fmt:0", format.pix_fmt});
    if (const std::string chain = encoder_filters(input, timing, request, format); !chain.empty()) {
        a.insert(a.end(), {"-filter:0", chain});
    }
    if (delayed(input, timing, request)) a.insert(a.end(), {"-enc_time_base:0", "1/90000"});
    add_colour_tags(input, format, a);
    if (interlaced(input.field_order)) {
        a.insert(a.end(), {"-field_order:0", input.field_order, "-flags:0", "+ildct+ilme"});
    }
    a.insert(a.end(), {"-max_muxing_queue_size", "4096"});
    if (format.single_image) a.insert(a.end(), {"-frames:0", "1", "-f", "image2", "-update", "1"});
    a.insert(a.end(), request.passthrough.begin(), request.passthrough.end());
    a.push_back("file:" + request.temp_path);
    return a;
}

std::string passthrough_pix_fmt(const std::vector<std::string>& passthrough) {
    std::string value;
    for (size_t i = 0; i + 1 < passthrough.size(); ++i) {
        if (passthrough[i].rfind("-pix_fmt", 0) == 0) value = passthrough[i + 1];
    }
    return value;
}

bool passthrough_filters(const std::vector<std::string>& passthrough) {
    for (const std::string& a : passthrough) {
        const std::string name = a.substr(0, a.find(':'));
        if (name == "-vf" || name == "-filter" || name == "-filter_script" || name == "-s" ||
            name == "-lavfi" || name == "-filter_complex" || name == "-filter_complex_script")
            return true;
    }
    return false;
}

}  // namespace kelvra::cli
