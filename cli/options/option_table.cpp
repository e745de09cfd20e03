// SPDX-License-Identifier: GPL-2.0-or-later
#include "options/option_table.h"

#include <tuple>

#include "levels/config_line.h"
#include "options/option_values.h"

namespace kelvra::cli {
namespace {

// Parses `value` into `field`; refused when `parse` gives nothing.
template <class T, class Parse>
bool store(std::optional<T>& field, const char* value, Parse parse) {
    field = parse(value);
    return field.has_value();
}

template <class T, class V>
bool assign(T& field, const V& value) {
    field = value;
    return true;
}

bool add_frames(std::set<int64_t>& list, const char* value) {
    const std::optional<std::set<int64_t>> frames = parse_frame_list(value);
    if (frames) list.insert(frames->begin(), frames->end());
    return frames.has_value();
}

using S = Section;
using T = Takes;

const std::vector<OptionRow> kRows = {
    {S::kSettings, "--plugin", nullptr, T::kNothing, nullptr, nullptr,
     [](Options& o, const char*, std::string&) { return assign(o.flags.plugin, true); },
     "the VirtualDub plug-in's correction, bit for bit, instead of balance (implied by --config, --level, "
     "--soft and --no-soft)"},
    {S::kSettings, "--config", nullptr, T::kValue, "LINE", nullptr,
     [](Options& o, const char* v, std::string& why) {
         o.config = parse_config_line(v, why);
         return o.config.has_value();
     },
     "the plug-in's script line (implies --plugin), Config(level,soft,border,nup,nleft,nright,ndown), or a "
     "whole saved line "
     "VirtualDub.video.filters.instance[0].Config(...);"},
    {S::kSettings, "--level", nullptr, T::kValue, "N", "an integer",
     [](Options& o, const char* v, std::string&) { return store(o.flags.level, v, parse_int32); },
     "the plug-in's strength 1..500 (default 25)"},
    {S::kSettings, "--soft", nullptr, T::kNothing, nullptr, nullptr,
     [](Options& o, const char*, std::string&) { return assign(o.flags.soft, true); },
     "the plug-in's Soft mode on"},
    {S::kSettings, "--no-soft", nullptr, T::kNothing, nullptr, nullptr,
     [](Options& o, const char*, std::string&) { return assign(o.flags.soft, false); },
     "the plug-in's Soft mode off"},
    {S::kSettings, "--border", nullptr, T::kValue, "U,L,R,D", "UP,LEFT,RIGHT,DOWN as four integers",
     [](Options& o, const char* v, std::string&) { return store(o.flags.border, v, parse_border); },
     "analyse only inside these offsets (rows from the top and the bottom, columns from the left and the "
     "right)"},
    {S::kSettings, "--no-border", nullptr, T::kNothing, nullptr, nullptr,
     [](Options& o, const char*, std::string&) { return assign(o.flags.no_border, true); },
     "analyse the whole picture"},
    {S::kSettings, "--disable", nullptr, T::kNothing, nullptr, nullptr,
     [](Options& o, const char*, std::string&) { return assign(o.flags.disable, true); }, "no correction"},
    {S::kSettings, "--histogram", nullptr, T::kNothing, nullptr, nullptr,
     [](Options& o, const char*, std::string&) { return assign(o.flags.histogram, true); },
     "draw the three histograms of the corrected picture over it"},
    {S::kSettings, "--freeze-after", nullptr, T::kValue, "N", "a frame number from 1",
     [](Options& o, const char* v, std::string&) {
         return store(o.flags.freeze_after, v, parse_frame_number);
     },
     "analyse frames 1..N, then hold their end points (Freeze)"},
    {S::kSettings, "--warm-start", nullptr, T::kNothing, nullptr, nullptr,
     [](Options& o, const char*, std::string&) { return assign(o.warm_start, true); },
     "with --plugin, give the first frames the full correction (balance always does; see docs/tool.md)"},

    {S::kShots, "--scene-cuts", nullptr, T::kOptionalValue, "S", "a sensitivity 0..100",
     [](Options& o, const char* v, std::string&) {
         o.cuts.sensitivity = kDefaultSensitivity;
         return !v || store(o.cuts.sensitivity, v, parse_sensitivity);
     },
     "find cuts with the cut detector, sensitivity 0..100 (default 75), and restart the correction at "
     "each, so a shot's first frame gets its full correction (implies --warm-start; without it balance "
     "restarts a frame after the cuts it sees itself)"},
    {S::kShots, "--cut-at", nullptr, T::kValue, "N,...", "frame numbers from 1, separated by commas",
     [](Options& o, const char* v, std::string&) { return add_frames(o.cuts.cut_at, v); },
     "frames (from 1) that start a shot; alone, the only ones"},
    {S::kShots, "--no-cut-at", nullptr, T::kValue, "N,...", "frame numbers from 1, separated by commas",
     [](Options& o, const char* v, std::string&) { return add_frames(o.cuts.no_cut_at, v); },
     "frames that never start a shot"},
    {S::kShots, "--steady", nullptr, T::kNothing, nullptr, nullptr,
     [](Options& o, const char*, std::string&) { return assign(o.steady, true); },
     "two passes over a file: one constant correction per shot"},
    {S::kShots, "--stats", nullptr, T::kValue, "FILE", nullptr,
     [](Options& o, const char* v, std::string&) { return assign(o.stats_path, v); },
     "every frame's end points, medians, levels and cut score, as .csv or .json"},
    {S::kShots, "--plot", nullptr, T::kValue, "FILE.png", nullptr,
     [](Options& o, const char* v, std::string&) { return assign(o.plot_path, v); },
     "the applied levels over the frames, shot starts marked, and the cut scores where the detector ran "
     "(needs gnuplot)"},

    {S::kOutput, "--codec", nullptr, T::kValue, "NAME", nullptr,
     [](Options& o, const char* v, std::string&) { return assign(o.codec, v); },
     "video encoder (default: ffmpeg's for the output's extension)"},
    {S::kOutput, "--crf", nullptr, T::kValue, "N", "an integer 0..63",
     [](Options& o, const char* v, std::string&) { return store(o.crf, v, parse_crf); },
     "quality for encoders that have it, 0..63"},
    {S::kOutput, "--ffmpeg", nullptr, T::kArgumentsUpToEnd, "ARGS... [--]", nullptr,
     [](Options& o, const char* v, std::string&) {
         o.passthrough.push_back(v);
         return true;
     },
     "further ffmpeg output options, up to a lone -- or the end"},
    {S::kOutput, "--compare", nullptr, T::kValue, "FILE.png", nullptr,
     [](Options& o, const char* v, std::string&) { return assign(o.compare_path, v); },
     "write one frame before and after, side by side"},
    {S::kOutput, "--compare-frame", nullptr, T::kValue, "N", "a frame number from 1",
     [](Options& o, const char* v, std::string&) { return store(o.compare_frame, v, parse_frame_number); },
     "that frame, counting from 1 (default: the middle one)"},
    {S::kOutput, "--out-dir", nullptr, T::kValue, "DIR", nullptr,
     [](Options& o, const char* v, std::string&) { return assign(o.out_dir, v); },
     "every name given is an input, each corrected into DIR (made when missing) under its own name and "
     "container; --stats, --plot and --compare FILE then give each input NAME.EXT its own NAME-FILE"},
    {S::kOutput, "--out-ext", nullptr, T::kValue, "EXT", "an extension of letters and digits",
     [](Options& o, const char* v, std::string&) {
         const std::optional<std::string> ext = parse_extension(v);
         return ext && assign(o.out_extension, *ext);
     },
     "with --out-dir, write every output with this extension (and so its container)"},
    {S::kOutput, "--force", "-f", T::kNothing, nullptr, nullptr,
     [](Options& o, const char*, std::string&) { return assign(o.force, true); },
     "replace an existing output"},

    {S::kRun, "--raw", nullptr, T::kValue, "WxH", "WIDTHxHEIGHT, each at least 1",
     [](Options& o, const char* v, std::string&) {
         const std::optional<std::pair<int32_t, int32_t>> size = parse_size(v);
         if (!size) return false;
         o.mode = Options::Mode::kRaw;
         std::tie(o.raw_width, o.raw_height) = *size;
         return true;
     },
     "take raw BGRA frames of this size: standard input in, standard output out"},
    {S::kRun, "--jobs", "-j", T::kValue, "N", "an integer 1..64",
     [](Options& o, const char* v, std::string&) { return store(o.jobs, v, parse_job_count); },
     "with --out-dir, the files corrected at once (default: one for every two cores)"},
    {S::kRun, "--quiet", "-q", T::kNothing, nullptr, nullptr,
     [](Options& o, const char*, std::string&) { return assign(o.quiet, true); }, "no progress bar"},
    {S::kRun, "--verbose", nullptr, T::kNothing, nullptr, nullptr,
     [](Options& o, const char*, std::string&) { return assign(o.verbose, true); },
     "also the decoder's own warnings and errors"},
    {S::kRun, "--", nullptr, T::kEndOfOptions, nullptr, nullptr, nullptr,
     "later arguments are file names, even when they start with -"},
    {S::kRun, "--help", "-h", T::kNothing, nullptr, nullptr,
     [](Options& o, const char*, std::string&) { return assign(o.mode, Options::Mode::kHelp); }, "this help"},
    {S::kRun, "--version", nullptr, T::kNothing, nullptr, nullptr,
     [](Options& o, const char*, std::string&) { return assign(o.mode, Options::Mode::kVersion); },
     "the version"},
};

}  // namespace

const std::vector<OptionRow>& option_table() { return kRows; }

const OptionRow* find_option(const std::string& name) {
    for (const OptionRow& row : kRows) {
        if (name == row.name || (row.alias && name == row.alias)) return &row;
    }
    return nullptr;
}

}  // namespace kelvra::cli
