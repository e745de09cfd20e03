// SPDX-License-Identifier: GPL-2.0-or-later
#include "options/options.h"

#include "options/option_table.h"
#include "output/output_format.h"

namespace kelvra::cli {
namespace {

constexpr const char* kDefaultDemoFolder = "out/demo";

class Parser {
public:
    explicit Parser(const std::vector<std::string>& args) : args_(args) {}

    std::optional<Options> run(std::string& error);

private:
    // Handles the option `arg`, whose row is found by the name before any "=".
    bool option(const std::string& arg, Options& o);
    bool fail(const std::string& message) {
        error_ = message;
        return false;
    }
    bool check(Options& o);
    bool check_shot_options(Options& o);

    const std::vector<std::string>& args_;
    size_t next_ = 0;
    bool only_names_ = false;
    std::vector<std::string> positional_;
    std::string error_;
};

bool Parser::option(const std::string& arg, Options& o) {
    std::string name = arg;
    std::optional<std::string> value;  // given after "="
    if (const size_t eq = arg.find('='); arg.rfind("--", 0) == 0 && eq != std::string::npos) {
        name = arg.substr(0, eq);
        value = arg.substr(eq + 1);
    }
    const OptionRow* row = find_option(name);
    if (!row) {
        return fail("unknown option " + name +
                    " (see kelvra --help; a file name starting with - goes after --)");
    }
    if (value && row->takes != Takes::kValue && row->takes != Takes::kOptionalValue)
        return fail(name + " takes no value");
    std::string why;
    switch (row->takes) {
        case Takes::kNothing:
            return row->apply(o, nullptr, why);
        case Takes::kEndOfOptions:
            only_names_ = true;
            return true;
        case Takes::kArgumentsUpToEnd:
            while (next_ < args_.size() && args_[next_] != "--") row->apply(o, args_[next_++].c_str(), why);
            return true;
        case Takes::kOptionalValue:
            if (!value) return row->apply(o, nullptr, why);
            break;
        case Takes::kValue:
            if (!value) {
                if (next_ == args_.size()) return fail(name + " needs a value");
                value = args_[next_++];
            }
            break;
    }
    if (row->apply(o, value->c_str(), why)) return true;
    if (!why.empty()) return fail(name + ": " + why);
    return fail(name + ": expected " + row->expected + ", got \"" + *value + "\"");
}

bool Parser::check_shot_options(Options& o) {
    CutRules& cuts = o.cuts;
    for (const int64_t frame : cuts.cut_at) {
        if (cuts.no_cut_at.count(frame))
            return fail("frame " + std::to_string(frame) + " is in both --cut-at and --no-cut-at");
    }
    if (cuts.no_cut_at.count(1)) return fail("--no-cut-at 1: frame 1 always starts a shot");
    if (o.flags.freeze_after && (cuts.active() || o.steady)) {
        return fail(
            "--freeze-after holds one frame's levels for the rest of the video; "
            "it does not go with --scene-cuts, --cut-at or --steady");
    }
    if (o.mode == Options::Mode::kRaw && o.steady) {
        return fail(
            "--steady reads the input twice, which a pipe cannot do: give it a file "
            "(--scene-cuts works on pipes)");
    }
    // Without frames to cut at, --steady finds the shots itself.
    if (o.steady && cuts.cut_at.empty() && !cuts.sensitivity) cuts.sensitivity = kDefaultSensitivity;
    if (cuts.sensitivity) o.warm_start = true;
    if (!o.stats_path.empty() && extension_of(o.stats_path) != "csv" && extension_of(o.stats_path) != "json")
        return fail("--stats: the file name must end in .csv or .json");
    if (!o.plot_path.empty() && extension_of(o.plot_path) != "png")
        return fail("--plot: the file name must end in .png");
    return true;
}

bool Parser::check(Options& o) {
    using Mode = Options::Mode;
    if (o.mode == Mode::kHelp || o.mode == Mode::kVersion) return true;
    if (o.flags.border && o.flags.no_border) return fail("--border and --no-border contradict each other");
    if (o.compare_frame && o.compare_path.empty()) return fail("--compare-frame needs --compare FILE.png");
    if (!check_shot_options(o)) return false;
    if (!o.out_dir.empty()) {
        if (o.mode == Mode::kRaw) return fail("--out-dir is for files, not for --raw");
        if (positional_.empty()) return fail("--out-dir DIR needs the input files before or after it");
        o.mode = Mode::kBatch;
        o.inputs = positional_;
        return true;
    }
    if (o.jobs || !o.out_extension.empty()) return fail("--jobs and --out-ext go with --out-dir DIR");
    if (!positional_.empty() && positional_[0] == "demo" && o.mode == Mode::kFile) {
        if (positional_.size() > 2) return fail("usage: kelvra demo [FOLDER]");
        o.mode = Mode::kDemo;
        o.output = positional_.size() == 2 ? positional_[1] : kDefaultDemoFolder;
        return true;
    }
    if (positional_.size() != 2) {
        return fail("expected an input and an output file, got " + std::to_string(positional_.size()) +
                    " names (see kelvra --help)");
    }
    o.input = positional_[0];
    o.output = positional_[1];
    if (o.mode == Mode::kRaw) {
        if (o.input != "-" || o.output != "-")
            return fail("--raw reads standard input and writes standard output: give - -");
        if (!o.codec.empty() || o.crf || !o.passthrough.empty() || !o.compare_path.empty()) {
            return fail("--codec, --crf, --ffmpeg and --compare are for files, not for --raw");
        }
    } else if (o.input == "-" || o.output == "-") {
        return fail("standard input and output are for --raw WxH only");
    }
    return true;
}

std::optional<Options> Parser::run(std::string& error) {
    Options o;
    while (next_ < args_.size()) {
        const std::string& arg = args_[next_++];
        if (only_names_ || arg == "-" || arg.empty() || arg[0] != '-') {
            positional_.push_back(arg);
        } else if (!option(arg, o)) {
            error = error_;
            return std::nullopt;
        }
    }
    if (!check(o)) {
        error = error_;
        return std::nullopt;
    }
    return o;
}

}  // namespace

std::optional<Options> parse_arguments(const std::vector<std::string>& args, std::string& error) {
    return Parser(args).run(error);
}

}  // namespace kelvra::cli
