// SPDX-License-Identifier: GPL-2.0-or-later
// The command line: names, settings flags, passthrough, and what is refused
// before anything runs.
#include "options/options.h"

#include <gtest/gtest.h>

#include <sstream>

#include "options/help_text.h"
#include "options/option_table.h"

using kelvra::cli::Options;
using kelvra::cli::parse_arguments;

namespace {

Options parsed(const std::vector<std::string>& args) {
    std::string error;
    const auto o = parse_arguments(args, error);
    EXPECT_TRUE(o) << error;
    return o ? *o : Options{};
}

std::string refused(const std::vector<std::string>& args) {
    std::string error;
    EXPECT_FALSE(parse_arguments(args, error));
    return error;
}

TEST(Arguments, FilesAndSettings) {
    const Options o =
        parsed({"in.mp4", "--level", "30", "out.mkv", "--soft", "--border=2,3,4,5", "--histogram",
                "--disable", "--freeze-after", "12", "--warm-start", "-q", "-f"});
    EXPECT_EQ(o.mode, Options::Mode::kFile);
    EXPECT_EQ(o.input, "in.mp4");
    EXPECT_EQ(o.output, "out.mkv");
    EXPECT_EQ(o.flags.level, 30);
    EXPECT_EQ(o.flags.soft, true);
    ASSERT_TRUE(o.flags.border);
    EXPECT_EQ(o.flags.border->up, 2);
    EXPECT_EQ(o.flags.border->down, 5);
    EXPECT_TRUE(o.flags.histogram && o.flags.disable && o.warm_start && o.quiet && o.force);
    EXPECT_EQ(o.flags.freeze_after, 12);
}

TEST(Arguments, ConfigLineIsParsedAtOnce) {
    const Options o = parsed({"a", "b", "--config", "Config(40,1,0,2,2,2,2)"});
    ASSERT_TRUE(o.config);
    EXPECT_EQ(o.config->level, 40);
    EXPECT_NE(refused({"a", "b", "--config", "Config(40,1,0,2,2,2)"}).find("--config: Config takes 7 values"),
              std::string::npos);
}

TEST(Arguments, FfmpegOptionsPassUpToALoneDoubleDash) {
    const Options o =
        parsed({"--ffmpeg", "-preset", "veryslow", "-tune", "film", "--", "-in.mp4", "--out.mp4"});
    EXPECT_EQ(o.passthrough, (std::vector<std::string>{"-preset", "veryslow", "-tune", "film"}));
    EXPECT_EQ(o.input, "-in.mp4");
    EXPECT_EQ(o.output, "--out.mp4");
    EXPECT_EQ(parsed({"in", "out", "--codec", "libx265", "--crf", "28", "--ffmpeg", "-x265-params", "a=b"})
                  .passthrough,
              (std::vector<std::string>{"-x265-params", "a=b"}));
}

TEST(Arguments, RawAndDemoModes) {
    const Options raw = parsed({"--raw", "640x360", "-", "-"});
    EXPECT_EQ(raw.mode, Options::Mode::kRaw);
    EXPECT_EQ(raw.raw_width, 640);
    EXPECT_EQ(raw.raw_height, 360);
    EXPECT_EQ(parsed({"demo"}).output, "out/demo");
    EXPECT_EQ(parsed({"demo", "my folder"}).output, "my folder");
    EXPECT_EQ(parsed({"./demo", "x.mp4"}).mode, Options::Mode::kFile);
}

TEST(Arguments, CompareFrameCountsFromOne) {
    const Options o = parsed({"a", "b", "--compare", "c.png", "--compare-frame", "1"});
    EXPECT_EQ(o.compare_path, "c.png");
    EXPECT_EQ(o.compare_frame, 1);
    EXPECT_NE(refused({"a", "b", "--compare", "c.png", "--compare-frame", "0"})
                  .find("--compare-frame: expected a frame number from 1, got \"0\""),
              std::string::npos);
    EXPECT_NE(refused({"a", "b", "--compare-frame", "3"}).find("needs --compare"), std::string::npos);
}

TEST(Arguments, RefusedBeforeAnythingRuns) {
    const std::vector<std::pair<std::vector<std::string>, std::string>> cases = {
        {{"a"}, "expected an input and an output file, got 1"},
        {{"a", "b", "c"}, "got 3"},
        {{"a", "b", "--level"}, "--level needs a value"},
        {{"a", "b", "--level", "ten"}, "--level: expected an integer, got \"ten\""},
        {{"a", "b", "--border", "1,2,3"}, "--border: expected UP,LEFT,RIGHT,DOWN"},
        {{"a", "b", "--border", "1,2,3,4,5"}, "--border: expected UP,LEFT,RIGHT,DOWN"},
        {{"a", "b", "--border", "1,2,3,4", "--no-border"}, "contradict"},
        {{"a", "b", "--crf", "64"}, "--crf: expected an integer 0..63"},
        {{"a", "b", "--freeze-after", "x"}, "--freeze-after: expected a frame number from 1, got \"x\""},
        {{"a", "b", "--soft=1"}, "--soft takes no value"},
        {{"a", "b", "--colour"}, "unknown option --colour"},
        {{"-in.mp4", "b"}, "unknown option -in.mp4"},
        {{"--raw", "64x48", "a", "-"}, "give - -"},
        {{"--raw", "64x0", "-", "-"}, "--raw: expected WIDTHxHEIGHT"},
        {{"--raw", "64x48", "-", "-", "--codec", "ffv1"}, "for files, not for --raw"},
        {{"-", "out.mp4"}, "for --raw WxH only"},
        {{"a", "b", "--jobs", "2"}, "--jobs and --out-ext go with --out-dir DIR"},
        {{"a", "--out-dir", "d", "--jobs", "0"}, "--jobs: expected an integer 1..64"},
        {{"a", "--out-dir", "d", "--out-ext", "m/kv"}, "--out-ext: expected an extension"},
        {{"--out-dir", "d"}, "needs the input files"},
    };
    for (const auto& [args, message] : cases) {
        EXPECT_NE(refused(args).find(message), std::string::npos) << message;
    }
}

}  // namespace

TEST(Arguments, HelpListsEveryOptionInColumnsWithinTheWidth) {
    const std::string help = kelvra::cli::help_text();
    for (const kelvra::cli::OptionRow& row : kelvra::cli::option_table()) {
        EXPECT_NE(help.find(std::string("\n  ") + row.name), std::string::npos) << row.name;
    }
    std::istringstream lines(help);
    for (std::string line; std::getline(lines, line);) {
        EXPECT_LE(line.size(), 100u) << line;
        // A wrapped help text continues under its column.
        if (line.rfind("    ", 0) == 0) {
            EXPECT_EQ(line.find_first_not_of(' '), 24u) << line;
        }
    }
}
