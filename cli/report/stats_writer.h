// SPDX-License-Identifier: GPL-2.0-or-later
// The --stats file: one record per frame, as CSV (a header line, then one
// line a frame) or as JSON (an array of objects with the same names).
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "input/media_info.h"
#include "levels/corrector.h"

namespace kelvra::cli {

// When frame n is shown: start + (n - 1) / rate seconds.
struct FrameClock {
    double start = 0;
    Rational rate;
};

bool is_json_path(const std::string& path);

std::string stats_text(const std::vector<FrameRecord>& records, bool json,
                       const std::optional<FrameClock>& clock);

}  // namespace kelvra::cli
