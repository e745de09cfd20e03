// SPDX-License-Identifier: GPL-2.0-or-later
// One progress bar for a batch: files done, the frames of all files and the
// time left, from the "DONE TOTAL" lines each file's run reports. A file's
// second pass (--steady) counts its frames again; a file not yet begun is
// taken to be as long as the mean of those begun.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "report/progress.h"

namespace kelvra::cli {

class BatchProgress {
public:
    BatchProgress(bool enabled, size_t files);
    // Takes what file `file` wrote on its pipe, whole lines or not.
    void take(size_t file, const std::string& text);
    // Its frames done are then all it had.
    void finished(size_t file);
    void update();
    void finish();
    // Clears the line, so a message can be printed.
    void clear() { bar_.clear(); }

private:
    struct File {
        std::string partial_line;
        int64_t earlier_passes = 0, done = 0;  // frames
        std::optional<int64_t> pass_total;
        bool finished = false;
        // All its frames, where known.
        std::optional<int64_t> expected() const;
    };
    int64_t frames_done() const;
    std::optional<int64_t> frames_expected() const;
    void retitle();

    std::vector<File> files_;
    size_t finished_ = 0;
    ProgressBar bar_;
};

}  // namespace kelvra::cli
