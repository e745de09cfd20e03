// SPDX-License-Identifier: GPL-2.0-or-later
// The --stats and --plot files: checked and reserved before the long work,
// so a name that cannot be written fails at once; written from the frames'
// records after it, and put in place with the other outputs.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "levels/corrector.h"
#include "options/options.h"
#include "output/output_file.h"
#include "report/stats_writer.h"

namespace kelvra::cli {

class RecordOutputs {
public:
    // Also finds gnuplot for --plot. `taken`: the run's other output names.
    static std::optional<RecordOutputs> reserve(const Options& options, const std::vector<std::string>& taken,
                                                std::string& error);

    bool wanted() const { return stats_ || plot_; }
    bool write(const std::vector<FrameRecord>& records, const std::optional<FrameClock>& clock,
               const std::string& title, std::string& error) const;
    bool commit(bool replace, std::string& error);

private:
    std::string stats_path_, gnuplot_;
    std::optional<int> sensitivity_;  // the detector's, for the plot's line
    std::optional<PendingOutput> stats_, plot_;
};

}  // namespace kelvra::cli
