// SPDX-License-Identifier: GPL-2.0-or-later
// The ways kelvra runs: a file (video or image), many files into a folder,
// raw frames through standard input and output, and the demo.
#pragma once

#include <string>

#include "options/options.h"

namespace kelvra::cli {

struct Outcome {
    int status = 0;  // 0, 1 for a failure, kInterruptedStatus after Ctrl-C
    std::string error;
};

Outcome run_file(const Options& options);
Outcome run_batch(const Options& options);
Outcome run_raw(const Options& options);
Outcome run_demo(const Options& options);

// One line on standard error, "kelvra: warning: ...".
void warn(const std::string& message);
// One line on standard error, "kelvra: error: ...".
void report_error(const std::string& message);

// Whether to draw the progress bar: standard error is a terminal and
// --quiet was not given.
bool progress_wanted(const Options& options);

}  // namespace kelvra::cli
