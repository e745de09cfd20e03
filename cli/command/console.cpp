// SPDX-License-Identifier: GPL-2.0-or-later
#include <unistd.h>

#include <cstdio>

#include "command/run.h"

namespace kelvra::cli {

void warn(const std::string& message) { std::fprintf(stderr, "kelvra: warning: %s\n", message.c_str()); }

void report_error(const std::string& message) {
    std::fprintf(stderr, "kelvra: error: %s\n", message.c_str());
}

bool progress_wanted(const Options& options) { return !options.quiet && isatty(STDERR_FILENO); }

}  // namespace kelvra::cli
