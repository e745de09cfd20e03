// SPDX-License-Identifier: GPL-2.0-or-later
// The progress bar on standard error: frames done of the total, frames per
// second and the time left; only frames and speed while the total is unknown.
#pragma once

#include <chrono>
#include <cstdint>
#include <optional>
#include <string>

namespace kelvra::cli {

std::string progress_line(int64_t done, std::optional<int64_t> total, double elapsed_seconds);

class ProgressBar {
public:
    // Shows nothing unless `enabled` (standard error is a terminal and
    // --quiet was not given). A label goes before the line.
    ProgressBar(bool enabled, std::optional<int64_t> total, std::string label = "");
    void update(int64_t done);
    // Draws the last state and ends the line.
    void finish(int64_t done);

private:
    void draw(int64_t done);

    bool enabled_;
    std::optional<int64_t> total_;
    std::string label_;
    std::chrono::steady_clock::time_point start_, last_draw_;
};

}  // namespace kelvra::cli
