// SPDX-License-Identifier: GPL-2.0-or-later
// The command line: `kelvra IN OUT [options]`, `kelvra IN... --out-dir DIR`,
// `kelvra --raw WxH - -` and `kelvra demo [FOLDER]`.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "levels/config_line.h"
#include "levels/settings.h"
#include "time/shots.h"

namespace kelvra::cli {

struct Options {
    enum class Mode { kFile, kBatch, kRaw, kDemo, kHelp, kVersion } mode = Mode::kFile;
    std::string input, output;        // kDemo: output is the folder
    std::vector<std::string> inputs;  // kBatch, each written into out_dir
    std::string out_dir, out_extension;
    std::optional<int> jobs;
    int progress_fd = -1;  // a file of a batch: its progress goes to this pipe
    int32_t raw_width = 0, raw_height = 0;
    std::optional<ConfigValues> config;
    SettingFlags flags;
    bool warm_start = false, quiet = false, force = false, verbose = false;
    std::string codec;
    std::optional<int> crf;
    std::vector<std::string> passthrough;
    std::string compare_path;
    std::optional<int64_t> compare_frame;
    CutRules cuts;
    bool steady = false;
    std::string stats_path, plot_path;
};

// Parses the arguments after the program name. Syntax errors and values that
// do not depend on the picture's size are reported here.
std::optional<Options> parse_arguments(const std::vector<std::string>& args, std::string& error);

}  // namespace kelvra::cli
