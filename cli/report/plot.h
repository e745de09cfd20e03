// SPDX-License-Identifier: GPL-2.0-or-later
// The --plot picture: each channel's applied high (above) and low (below)
// over the frames, one colour per channel, shot starts as grey lines, and
// where the cut detector ran each frame's cut score under them with the line
// the run's sensitivity sets; drawn by gnuplot.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "levels/corrector.h"

namespace kelvra::cli {

// gnuplot's path, or an error saying how to get it.
std::string find_gnuplot(std::string& error);

bool write_plot(const std::string& gnuplot, const std::vector<FrameRecord>& records, const std::string& title,
                std::optional<int> sensitivity, const std::string& png_path, std::string& error);

}  // namespace kelvra::cli
