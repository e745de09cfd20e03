// SPDX-License-Identifier: GPL-2.0-or-later
#include "levels/settings.h"

#include "dialog/dialog_rules.h"

namespace kelvra::cli {
namespace {

std::string range_text(int64_t lo, int64_t hi) { return std::to_string(lo) + ".." + std::to_string(hi); }

struct Offset {
    const char* name;
    int32_t value;
    int32_t dimension;
    const char* unit;
};

// The four offsets with the dimension each slider is sized by.
std::vector<Offset> offsets_of(int32_t up, int32_t left, int32_t right, int32_t down, int32_t width,
                               int32_t height) {
    return {{"UP", up, height, "rows"},
            {"LEFT", left, width, "columns"},
            {"RIGHT", right, width, "columns"},
            {"DOWN", down, height, "rows"}};
}

// What the dialog would not allow for these offsets, one message each.
std::vector<std::string> offset_problems(int32_t up, int32_t left, int32_t right, int32_t down, int32_t width,
                                         int32_t height) {
    std::vector<std::string> problems;
    for (const Offset& o : offsets_of(up, left, right, down, width, height)) {
        const int32_t max = offset_slider_max(o.dimension);
        if (o.value < kMinOffset || o.value > max) {
            problems.push_back(std::string(o.name) + " " + std::to_string(o.value) + " lies outside " +
                               range_text(kMinOffset, max) + " for a picture of " +
                               std::to_string(o.dimension) + " " + o.unit);
        }
    }
    if (int64_t{up} + down > int64_t{height} - 10) {
        problems.push_back("UP + DOWN = " + std::to_string(int64_t{up} + down) + " leaves fewer than 10 of " +
                           std::to_string(height) + " rows");
    }
    if (int64_t{left} + right > int64_t{width} - 10) {
        problems.push_back("LEFT + RIGHT = " + std::to_string(int64_t{left} + right) +
                           " leaves fewer than 10 of " + std::to_string(width) + " columns");
    }
    return problems;
}

std::string level_problem(int32_t level) {
    if (level >= kMinLevel && level <= kMaxLevel) return {};
    return "level " + std::to_string(level) + " lies outside " + range_text(kMinLevel, kMaxLevel);
}

void warn_about_config(const ConfigValues& c, int32_t width, int32_t height,
                       std::vector<std::string>& warnings) {
    const std::string prefix = "--config: ";
    const std::string suffix = "; the dialog would not allow it, taken as the plug-in takes it";
    if (std::string p = level_problem(c.level); !p.empty()) warnings.push_back(prefix + p + suffix);
    if (c.soft != 0 && c.soft != 1) {
        warnings.push_back(prefix + "soft " + std::to_string(c.soft) + " is not 0 or 1; non-zero means on");
    }
    if (c.border != 0 && c.border != 1) {
        warnings.push_back(prefix + "border " + std::to_string(c.border) +
                           " is not 0 or 1; non-zero means on");
    }
    for (const std::string& p : offset_problems(c.nup, c.nleft, c.nright, c.ndown, width, height)) {
        warnings.push_back(prefix + p + suffix);
    }
}

}  // namespace

std::optional<CorrectionSettings> resolve_settings(const std::optional<ConfigValues>& config,
                                                   const SettingFlags& flags, int32_t width, int32_t height,
                                                   std::vector<std::string>& warnings, std::string& error) {
    CorrectionSettings s;
    // Strength and Soft are the plug-in's limiter's; asking for them asks
    // for it.
    if (flags.plugin || config || flags.level || flags.soft) s.correction = Correction::kPlugin;
    if (config) {
        warn_about_config(*config, width, height, warnings);
        s.level = config->level;
        s.soft = config->soft;
        s.border = config->border;
        s.nup = config->nup;
        s.nleft = config->nleft;
        s.nright = config->nright;
        s.ndown = config->ndown;
    }
    if (flags.level) {
        if (std::string p = level_problem(*flags.level); !p.empty()) {
            error = "--level: " + p;
            return std::nullopt;
        }
        s.level = *flags.level;
    }
    if (flags.soft) s.soft = *flags.soft ? 1 : 0;
    if (flags.border) {
        const BorderOffsets& b = *flags.border;
        const std::vector<std::string> problems =
            offset_problems(b.up, b.left, b.right, b.down, width, height);
        if (!problems.empty()) {
            error = "--border: " + problems.front();
            return std::nullopt;
        }
        s.border = 1;
        s.nup = b.up;
        s.nleft = b.left;
        s.nright = b.right;
        s.ndown = b.down;
    }
    if (flags.no_border) s.border = 0;
    if (flags.disable) s.disable = 1;
    if (flags.histogram) s.show_histogram = 1;
    if (flags.freeze_after) {
        if (*flags.freeze_after < 1) {
            error = "--freeze-after: N counts frames from 1 and must be at least 1";
            return std::nullopt;
        }
        s.freeze_after = *flags.freeze_after;
    }
    return s;
}

}  // namespace kelvra::cli
