// SPDX-License-Identifier: GPL-2.0-or-later
// The progress bar on standard error: frames done of the total, frames per
// second and the time left; only frames and speed while the total is unknown.
// A file of a batch draws nothing: it reports "DONE TOTAL" lines (TOTAL -1
// while unknown) on a pipe, and the batch draws one bar for all its files.
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
    // --quiet was not given). A label goes before the line. With a
    // `report_fd` it reports there instead of drawing.
    ProgressBar(bool enabled, std::optional<int64_t> total, std::string label = "", int report_fd = -1);
    void update(int64_t done);
    // Draws the last state and ends the line.
    void finish(int64_t done);
    void set_total(std::optional<int64_t> total, std::string label);
    // Clears the line, so a message can be printed; the next update redraws.
    void clear();

private:
    void draw(int64_t done);

    bool enabled_;
    int report_fd_;
    std::optional<int64_t> total_;
    std::string label_;
    std::chrono::steady_clock::time_point start_, last_draw_;
};

}  // namespace kelvra::cli
