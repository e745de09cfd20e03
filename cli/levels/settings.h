// SPDX-License-Identifier: GPL-2.0-or-later
// The settings one run uses: the plug-in's defaults, then a --config line
// taken as the plug-in takes it (values outside the dialog's ranges only
// warn), then the setting flags, which are checked strictly and win. The
// correction is balance unless --plugin, a --config line, --level or Soft
// asks for the plug-in's.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "base/correction.h"
#include "levels/config_line.h"

namespace kelvra::cli {

struct BorderOffsets {
    int32_t up, left, right, down;
};

// Setting flags as given on the command line; unset ones leave the field.
struct SettingFlags {
    bool plugin = false;
    std::optional<int32_t> level;
    std::optional<bool> soft;
    std::optional<BorderOffsets> border;  // also switches the border on
    bool no_border = false;
    bool disable = false;
    bool histogram = false;
    std::optional<int64_t> freeze_after;
};

struct CorrectionSettings {
    Correction correction = Correction::kBalance;
    int32_t level = 25, soft = 0, border = 0;
    int32_t nup = 1, nleft = 1, nright = 1, ndown = 1;
    int32_t disable = 0, show_histogram = 0;
    // Frames 1..freeze_after are analysed, later ones reuse their end points;
    // 0 never freezes.
    int64_t freeze_after = 0;
};

// Balance gives the first frame its full correction; the plug-in's ramps up
// from none as a fresh instance does, unless a warm start is asked for.
inline bool starts_warm(const CorrectionSettings& s, bool asked) {
    return asked || s.correction == Correction::kBalance;
}

// Resolves the settings for a width x height picture. Flag values outside the
// dialog's ranges are errors; out-of-range --config values add warnings.
std::optional<CorrectionSettings> resolve_settings(const std::optional<ConfigValues>& config,
                                                   const SettingFlags& flags, int32_t width, int32_t height,
                                                   std::vector<std::string>& warnings, std::string& error);

}  // namespace kelvra::cli
