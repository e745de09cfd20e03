#include "options.h"

#include <functional>
#include <map>
#include <set>
#include <tuple>
#include <utility>

#include "output_format.h"

namespace kelvra::cli {
namespace {

constexpr const char* kDefaultDemoFolder = "out/demo";

std::optional<int32_t> parse_integer(const std::string& text) { return parse_int32(text); }

// Frame numbers count from 1.
std::optional<int64_t> parse_frame_number(const std::string& text) {
    const std::optional<int32_t> v = parse_int32(text);
    if (!v || *v < 1) return std::nullopt;
    return *v;
}

std::optional<int> parse_sensitivity(const std::string& text) {
    const std::optional<int32_t> v = parse_int32(text);
    if (!v || *v < 0 || *v > 100) return std::nullopt;
    return *v;
}

// A comma-separated list of frame numbers.
std::optional<std::set<int64_t>> parse_frame_list(const std::string& text) {
    std::set<int64_t> frames;
    size_t start = 0;
    for (;;) {
        const size_t comma = text.find(',', start);
        const std::optional<int64_t> n = parse_frame_number(text.substr(start, comma - start));
        if (!n) return std::nullopt;
        frames.insert(*n);
        if (comma == std::string::npos) return frames;
        start = comma + 1;
    }
}

std::optional<int> parse_crf(const std::string& text) {
    const std::optional<int32_t> v = parse_int32(text);
    if (!v || *v < 0 || *v > 63) return std::nullopt;
    return *v;
}

std::optional<BorderOffsets> parse_border(const std::string& text) {
    int32_t v[4];
    size_t start = 0;
    for (int i = 0; i < 4; ++i) {
        const size_t comma = text.find(',', start);
        if ((i < 3) == (comma == std::string::npos)) return std::nullopt;
        const std::optional<int32_t> n = parse_int32(text.substr(start, comma - start));
        if (!n) return std::nullopt;
        v[i] = *n;
        start = comma + 1;
    }
    return BorderOffsets{v[0], v[1], v[2], v[3]};
}

std::optional<std::pair<int32_t, int32_t>> parse_size(const std::string& text) {
    const size_t x = text.find('x');
    if (x == std::string::npos) return std::nullopt;
    const std::optional<int32_t> w = parse_int32(text.substr(0, x)), h = parse_int32(text.substr(x + 1));
    if (!w || !h || *w < 1 || *h < 1 || int64_t{*w} * *h > kMaxPixels) return std::nullopt;
    return std::make_pair(*w, *h);
}

class Parser {
public:
    explicit Parser(const std::vector<std::string>& args) : args_(args) {}

    std::optional<Options> run(std::string& error);

private:
    // Handles one option; `value` is filled for options that take one.
    bool option(const std::string& name, Options& o);
    bool take_value(const std::string& name, std::string& value);
    // Takes the option's value into `field` through `parse`, which gives
    // nothing for a value it refuses.
    template <class T, class Parse>
    bool value_into(const std::string& name, std::optional<T>& field, Parse parse,
                    const std::string& expected);
    bool fail(const std::string& message) {
        error_ = message;
        return false;
    }
    bool check(Options& o);
    bool check_shot_options(Options& o);

    const std::vector<std::string>& args_;
    size_t next_ = 0;
    std::optional<std::string> inline_value_;
    std::vector<std::string> positional_;
    std::string error_;
};

bool Parser::take_value(const std::string& name, std::string& value) {
    if (inline_value_) {
        value = *inline_value_;
        inline_value_.reset();
        return true;
    }
    if (next_ >= args_.size()) return fail(name + " needs a value");
    value = args_[next_++];
    return true;
}

template <class T, class Parse>
bool Parser::value_into(const std::string& name, std::optional<T>& field, Parse parse,
                        const std::string& expected) {
    std::string v;
    if (!take_value(name, v)) return false;
    field = parse(v);
    return field ? true : fail(name + ": expected " + expected + ", got \"" + v + "\"");
}

bool Parser::option(const std::string& name, Options& o) {
    SettingFlags& f = o.flags;
    if (name == "--config") {
        std::string v, why;
        if (!take_value(name, v)) return false;
        o.config = parse_config_line(v, why);
        return o.config ? true : fail("--config: " + why);
    }
    if (name == "--level") return value_into(name, f.level, parse_integer, "an integer");
    if (name == "--border")
        return value_into(name, f.border, parse_border, "UP,LEFT,RIGHT,DOWN as four integers");
    if (name == "--freeze-after")
        return value_into(name, f.freeze_after, parse_frame_number, "a frame number from 1");
    if (name == "--compare-frame") {
        return value_into(name, o.compare_frame, parse_frame_number, "a frame number from 1");
    }
    if (name == "--scene-cuts") {
        o.cuts.sensitivity = kDefaultSensitivity;
        if (!inline_value_) return true;
        return value_into(name, o.cuts.sensitivity, parse_sensitivity, "a sensitivity 0..100");
    }
    if (name == "--cut-at" || name == "--no-cut-at") {
        std::optional<std::set<int64_t>> frames;
        if (!value_into(name, frames, parse_frame_list, "frame numbers from 1, separated by commas"))
            return false;
        std::set<int64_t>& list = name == "--cut-at" ? o.cuts.cut_at : o.cuts.no_cut_at;
        list.insert(frames->begin(), frames->end());
        return true;
    }
    if (name == "--stats") return take_value(name, o.stats_path);
    if (name == "--plot") return take_value(name, o.plot_path);
    if (name == "--crf") return value_into(name, o.crf, parse_crf, "an integer 0..63");
    if (name == "--raw") {
        std::optional<std::pair<int32_t, int32_t>> size;
        if (!value_into(name, size, parse_size, "WIDTHxHEIGHT, each at least 1")) return false;
        o.mode = Options::Mode::kRaw;
        std::tie(o.raw_width, o.raw_height) = *size;
        return true;
    }
    if (name == "--codec") return take_value(name, o.codec);
    if (name == "--compare") return take_value(name, o.compare_path);
    if (inline_value_) return fail(name + " takes no value");
    const std::map<std::string, std::function<void()>> switches = {
        {"--soft", [&] { f.soft = true; }},
        {"--no-soft", [&] { f.soft = false; }},
        {"--no-border", [&] { f.no_border = true; }},
        {"--disable", [&] { f.disable = true; }},
        {"--histogram", [&] { f.histogram = true; }},
        {"--warm-start", [&] { o.warm_start = true; }},
        {"--steady", [&] { o.steady = true; }},
        {"--quiet", [&] { o.quiet = true; }},
        {"-q", [&] { o.quiet = true; }},
        {"--force", [&] { o.force = true; }},
        {"-f", [&] { o.force = true; }},
        {"--help", [&] { o.mode = Options::Mode::kHelp; }},
        {"-h", [&] { o.mode = Options::Mode::kHelp; }},
        {"--version", [&] { o.mode = Options::Mode::kVersion; }},
    };
    const auto it = switches.find(name);
    if (it == switches.end()) {
        return fail("unknown option " + name +
                    " (see kelvra --help; a file name starting with - goes after --)");
    }
    it->second();
    return true;
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
    bool only_names = false;
    while (next_ < args_.size()) {
        const std::string& arg = args_[next_++];
        if (only_names || arg == "-" || arg.empty() || arg[0] != '-') {
            positional_.push_back(arg);
            continue;
        }
        if (arg == "--") {
            only_names = true;
            continue;
        }
        if (arg == "--ffmpeg") {
            // Everything up to a lone -- (or the end) goes to ffmpeg's output.
            while (next_ < args_.size() && args_[next_] != "--") o.passthrough.push_back(args_[next_++]);
            continue;
        }
        std::string name = arg;
        inline_value_.reset();
        if (const size_t eq = arg.find('='); arg.rfind("--", 0) == 0 && eq != std::string::npos) {
            name = arg.substr(0, eq);
            inline_value_ = arg.substr(eq + 1);
        }
        if (!option(name, o)) {
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

const char* usage_text() {
    return R"(Usage:
  kelvra IN OUT [options]        correct a video file or an image
  kelvra --raw WxH - - [options] correct raw BGRA frames from standard input to standard output
  kelvra demo [FOLDER]           make a clip with a colour cast, correct it (default folder out/demo)

Settings (flags win over the fields of --config):
  --config LINE         the plug-in's script line, Config(level,soft,border,nup,nleft,nright,ndown),
                        or a whole saved line VirtualDub.video.filters.instance[0].Config(...);
  --level N             strength 1..500 (default 25)
  --soft, --no-soft     Soft mode on or off
  --border U,L,R,D      analyse only inside these offsets (rows from the top and the bottom,
                        columns from the left and the right)
  --no-border           analyse the whole picture
  --disable             no correction
  --histogram           draw the three histograms of the corrected picture over it
  --freeze-after N      analyse frames 1..N, then hold their end points (Freeze)
  --warm-start          give the first frames the full correction (see README)

Shots (see README; --steady needs a file, the others also work on --raw):
  --scene-cuts[=S]      find cuts, sensitivity 0..100 (default 50), and restart the averaging at
                        each, so a shot's first frame gets its full correction (implies --warm-start)
  --cut-at N,...        frames (from 1) that start a shot; alone, the only ones
  --no-cut-at N,...     frames that never start a shot
  --steady              two passes over a file: one constant correction per shot
  --stats FILE          every frame's end points, medians and levels, as .csv or .json
  --plot FILE.png       the applied levels over the frames, shot starts marked (needs gnuplot)

Output:
  --codec NAME          video encoder (default: ffmpeg's for the output's extension)
  --crf N               quality for encoders that have it, 0..63
  --ffmpeg ARGS... [--] further ffmpeg output options, up to a lone -- or the end
  --compare FILE.png    write one frame before and after, side by side
  --compare-frame N     that frame, counting from 1 (default: the middle one)
  --force, -f           replace an existing output
  --quiet, -q           no progress bar
  --                    later arguments are file names, even when they start with -
  --help, --version
)";
}

}  // namespace kelvra::cli
