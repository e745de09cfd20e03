// SPDX-License-Identifier: GPL-2.0-or-later
#include "input/probe.h"

#include <cstdlib>
#include <map>
#include <sstream>

#include "base/x86_arith.h"

namespace kelvra::cli {
namespace {

using Fields = std::map<std::string, std::string>;

std::string field(const Fields& f, const std::string& key) {
    const auto it = f.find(key);
    if (it == f.end() || it->second == "N/A" || it->second == "unknown") return {};
    return it->second;
}

std::optional<int64_t> integer_field(const Fields& f, const std::string& key) {
    const std::string v = field(f, key);
    if (v.empty()) return std::nullopt;
    char* end = nullptr;
    const long long n = std::strtoll(v.c_str(), &end, 10);
    if (*end != '\0') return std::nullopt;
    return n;
}

std::optional<double> seconds_field(const Fields& f, const std::string& key) {
    const std::string v = field(f, key);
    if (v.empty()) return std::nullopt;
    char* end = nullptr;
    const double d = std::strtod(v.c_str(), &end);
    if (*end != '\0') return std::nullopt;
    return d;
}

bool is_image_demuxer(const std::string& name) {
    const std::string pipe = "_pipe";
    return name == "image2" || name == "gif" || name == "apng" ||
           (name.size() > pipe.size() && name.compare(name.size() - pipe.size(), pipe.size(), pipe) == 0);
}

// A display matrix that turns the picture a quarter turn makes the decoder
// (which rotates by default) deliver it with width and height swapped.
bool quarter_turn(int64_t rotation) { return (rotation % 180 + 180) % 180 == 90; }

struct Report {
    std::vector<Fields> streams;
    Fields format;
};

Report split_sections(const std::string& report) {
    Report r;
    Fields* current = nullptr;
    std::istringstream lines(report);
    std::string line;
    bool in_program = false;  // a program's streams come again on their own
    while (std::getline(lines, line)) {
        if (line == "[PROGRAM]" || line == "[/PROGRAM]") {
            in_program = line == "[PROGRAM]";
        } else if (in_program) {
            continue;
        } else if (line == "[STREAM]") {
            r.streams.emplace_back();
            current = &r.streams.back();
        } else if (line == "[FORMAT]") {
            current = &r.format;
        } else if (line == "[/STREAM]" || line == "[/FORMAT]") {
            current = nullptr;
        } else if (const size_t eq = line.find('='); current && eq != std::string::npos) {
            // Side data keys (rotation) land in their stream's fields.
            current->emplace(line.substr(0, eq), line.substr(eq + 1));
        }
    }
    return r;
}

bool is_mov_family(const std::string& format_name) { return format_name.rfind("mov,", 0) == 0; }

// An MP4 or MOV edit list can start the video after its first samples, which
// then are counted but never shown: the frames the stream's duration holds
// at its average rate are all it promises.
int64_t frames_in_duration(int64_t samples, std::optional<double> duration, Rational rate) {
    if (!duration || !rate.valid()) return samples;
    // A hundredth of a frame of slack: a duration that holds a whole number
    // of frames may fall just short of it in doubles.
    const double shown = *duration * static_cast<double>(rate.num) / static_cast<double>(rate.den) + 0.01;
    return shown < static_cast<double>(samples) ? trunc_to_int(shown) : samples;
}

}  // namespace

std::vector<std::string> probe_args(const std::string& ffprobe, const std::string& input_path,
                                    bool count_packets) {
    std::vector<std::string> args = {
        ffprobe,
        "-v",
        "error",
        "-show_entries",
        "format=format_name,start_time:stream=index,codec_type,width,height,pix_fmt,r_frame_rate,"
        "avg_frame_rate,duration,nb_frames,nb_read_packets,sample_aspect_ratio,field_order,"
        "color_space,color_range,color_primaries,color_transfer,start_time:"
        "stream_disposition=attached_pic:stream_side_data=rotation",
        "-of",
        "default"};
    if (count_packets) args.push_back("-count_packets");
    args.push_back("file:" + input_path);
    return args;
}

Rational parse_rational(const std::string& text) {
    Rational r;
    const size_t slash = text.find('/');
    if (slash == std::string::npos) return r;
    char* end = nullptr;
    r.num = std::strtoll(text.c_str(), &end, 10);
    if (end != text.c_str() + slash) return Rational{};
    r.den = std::strtoll(text.c_str() + slash + 1, &end, 10);
    if (*end != '\0') return Rational{};
    return r;
}

MediaInfo parse_probe_report(const std::string& report) {
    const Report r = split_sections(report);
    MediaInfo info;
    info.format_name = field(r.format, "format_name");
    info.image_format = is_image_demuxer(info.format_name);
    info.stream_count = static_cast<int>(r.streams.size());
    for (const Fields& s : r.streams) {
        if (field(s, "codec_type") != "video" || field(s, "DISPOSITION:attached_pic") == "1") continue;
        info.video_index = static_cast<int>(integer_field(s, "index").value_or(-1));
        const int64_t w = integer_field(s, "width").value_or(0), h = integer_field(s, "height").value_or(0);
        info.rotation = integer_field(s, "rotation").value_or(0);
        const bool swap = quarter_turn(info.rotation);
        info.width = static_cast<int32_t>(swap ? h : w);
        info.height = static_cast<int32_t>(swap ? w : h);
        info.pix_fmt = field(s, "pix_fmt");
        info.frame_rate = parse_rational(field(s, "r_frame_rate"));
        info.average_rate = parse_rational(field(s, "avg_frame_rate"));
        const std::string sar = field(s, "sample_aspect_ratio");
        if (!sar.empty() && sar != "0:1") info.sample_aspect_ratio = sar;
        info.field_order = field(s, "field_order");
        info.colour = {field(s, "color_space"), field(s, "color_range"), field(s, "color_primaries"),
                       field(s, "color_transfer")};
        info.frame_count = integer_field(s, "nb_frames");
        if (!info.frame_count) info.frame_count = integer_field(s, "nb_read_packets");
        if (info.frame_count && is_mov_family(info.format_name)) {
            info.frame_count =
                frames_in_duration(*info.frame_count, seconds_field(s, "duration"), info.average_rate);
        }
        info.file_start = seconds_field(r.format, "start_time").value_or(0);
        const std::optional<double> start = seconds_field(s, "start_time");
        if (start && *start > info.file_start) info.video_delay = *start - info.file_start;
        break;
    }
    return info;
}

}  // namespace kelvra::cli
