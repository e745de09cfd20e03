// SPDX-License-Identifier: GPL-2.0-or-later
// A batch as single-file runs: each input's own options, its output in the
// out folder under its own name (or with --out-ext), and its --stats, --plot
// and --compare files named after it.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "options/options.h"

namespace kelvra::cli {

// Every file the job writes.
std::vector<std::string> job_outputs(const Options& job);

// One run per input, in their order; nothing when two of them would write
// the same file.
std::optional<std::vector<Options>> batch_jobs(const Options& batch, std::string& error);

}  // namespace kelvra::cli
