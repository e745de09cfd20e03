// SPDX-License-Identifier: GPL-2.0-or-later
#include "settings.h"

#include <algorithm>

#include "dialog/dialog_rules.h"
#include "time/shots.h"

namespace kelvra::obs {
namespace {

constexpr const char* kCorrection = "correction";
constexpr const char* kStrength = "strength";
constexpr const char* kSoft = "soft";
constexpr const char* kBorder = "border";
constexpr const char* kUp = "up";
constexpr const char* kLeft = "left";
constexpr const char* kRight = "right";
constexpr const char* kDown = "down";
constexpr const char* kSceneCuts = "scene_cuts";
constexpr const char* kSensitivity = "sensitivity";
constexpr const char* kHistogram = "histogram";

// Wider than any source; the frame's own size limits an offset.
constexpr int kMaxOffsetPixels = 8192;

int32_t within_slider(long long pixels, int32_t dimension) {
    return int32_t(std::clamp<long long>(pixels, kMinOffset, offset_slider_max(dimension)));
}

}  // namespace

void set_defaults(obs_data_t* data) {
    const LiveSettings s;
    obs_data_set_default_int(data, kCorrection, int(Correction::kBalance));
    obs_data_set_default_int(data, kStrength, s.level);
    obs_data_set_default_bool(data, kSoft, false);
    obs_data_set_default_bool(data, kBorder, false);
    for (const char* offset : {kUp, kLeft, kRight, kDown}) obs_data_set_default_int(data, offset, kMinOffset);
    obs_data_set_default_bool(data, kSceneCuts, false);
    obs_data_set_default_int(data, kSensitivity, kDefaultSensitivity);
    obs_data_set_default_bool(data, kHistogram, false);
}

obs_properties_t* make_properties() {
    obs_properties_t* p = obs_properties_create();
    obs_property_t* correction = obs_properties_add_list(p, kCorrection, obs_module_text("Kelvra.Correction"),
                                                         OBS_COMBO_TYPE_LIST, OBS_COMBO_FORMAT_INT);
    obs_property_list_add_int(correction, obs_module_text("Kelvra.Correction.Balance"),
                              int(Correction::kBalance));
    obs_property_list_add_int(correction, obs_module_text("Kelvra.Correction.Plugin"),
                              int(Correction::kPlugin));
    obs_properties_add_int_slider(p, kStrength, obs_module_text("Kelvra.Strength"), kMinLevel, kMaxLevel, 1);
    obs_properties_add_bool(p, kSoft, obs_module_text("Kelvra.Soft"));
    obs_properties_add_bool(p, kBorder, obs_module_text("Kelvra.Border"));
    obs_properties_add_int(p, kUp, obs_module_text("Kelvra.Up"), kMinOffset, kMaxOffsetPixels, 1);
    obs_properties_add_int(p, kLeft, obs_module_text("Kelvra.Left"), kMinOffset, kMaxOffsetPixels, 1);
    obs_properties_add_int(p, kRight, obs_module_text("Kelvra.Right"), kMinOffset, kMaxOffsetPixels, 1);
    obs_properties_add_int(p, kDown, obs_module_text("Kelvra.Down"), kMinOffset, kMaxOffsetPixels, 1);
    obs_properties_add_bool(p, kSceneCuts, obs_module_text("Kelvra.SceneCuts"));
    obs_properties_add_int_slider(p, kSensitivity, obs_module_text("Kelvra.Sensitivity"), 0, 100, 1);
    obs_properties_add_bool(p, kHistogram, obs_module_text("Kelvra.Histogram"));
    return p;
}

LiveSettings read_settings(obs_data_t* data) {
    LiveSettings s;
    if (obs_data_get_int(data, kCorrection) == int(Correction::kPlugin)) s.correction = Correction::kPlugin;
    s.level = int32_t(std::clamp<long long>(obs_data_get_int(data, kStrength), kMinLevel, kMaxLevel));
    s.soft = obs_data_get_bool(data, kSoft);
    s.border = obs_data_get_bool(data, kBorder);
    const auto pixels = [&](const char* name) {
        return int32_t(std::clamp<long long>(obs_data_get_int(data, name), kMinOffset, kMaxOffsetPixels));
    };
    s.nup = pixels(kUp);
    s.nleft = pixels(kLeft);
    s.nright = pixels(kRight);
    s.ndown = pixels(kDown);
    s.show_histogram = obs_data_get_bool(data, kHistogram);
    if (obs_data_get_bool(data, kSceneCuts))
        s.sensitivity = int32_t(std::clamp<long long>(obs_data_get_int(data, kSensitivity), 0, 100));
    return s;
}

LiveSettings fitted(LiveSettings s, int32_t width, int32_t height) {
    s.nup = within_slider(s.nup, height);
    s.ndown = coupled_opposite(s.nup, within_slider(s.ndown, height), height);
    s.nleft = within_slider(s.nleft, width);
    s.nright = coupled_opposite(s.nleft, within_slider(s.nright, width), width);
    return s;
}

}  // namespace kelvra::obs
