// SPDX-License-Identifier: GPL-2.0-or-later
// kelvra.so, the frei0r filter: the host's calls in, the engine's live
// correction out. Every instance keeps its own state; the plug-in has none.
#include <algorithm>
#include <cstdint>
#include <new>

#include "frei0r_api.h"
#include "parameters.h"
#include "time/live_corrector.h"

#define KELVRA_EXPORT extern "C" __attribute__((visibility("default")))

namespace {

using kelvra::frei0r::kParameterCount;
using kelvra::frei0r::kParameters;

struct Instance {
    Instance(int32_t w, int32_t h) : width(w), height(h), corrector(w, h) {
        for (int i = 0; i < kParameterCount; ++i) values[i] = kParameters[i].default_value;
    }

    int32_t width, height;
    kelvra::frei0r::ParameterValues values;
    kelvra::LiveCorrector corrector;
};

bool known(int index) { return index >= 0 && index < kParameterCount; }

}  // namespace

KELVRA_EXPORT int f0r_init() { return 1; }

KELVRA_EXPORT void f0r_deinit() {}

KELVRA_EXPORT void f0r_get_plugin_info(f0r_plugin_info_t* info) {
    info->name = "Kelvra";
    info->author = "The Kelvra developers";
    info->plugin_type = F0R_PLUGIN_TYPE_FILTER;
    info->color_model = F0R_COLOR_MODEL_BGRA8888;
    info->frei0r_version = FREI0R_MAJOR_VERSION;
    info->major_version = KELVRA_VERSION_MAJOR;
    info->minor_version = KELVRA_VERSION_MINOR;
    info->num_params = kParameterCount;
    info->explanation =
        "Automatic white balance: brings the picture's white and black back to neutral (balance), or "
        "the VirtualDub plug-in's correction; balance follows the light of the shot, the plug-in's "
        "averages over five frames";
}

KELVRA_EXPORT void f0r_get_param_info(f0r_param_info_t* info, int index) {
    if (!known(index)) return;
    info->name = kParameters[index].name;
    info->type = kParameters[index].type;
    info->explanation = kParameters[index].explanation;
}

KELVRA_EXPORT f0r_instance_t f0r_construct(unsigned int width, unsigned int height) {
    if (width == 0 || height == 0 || width > INT32_MAX / 4 || height > INT32_MAX / 4) return nullptr;
    return new (std::nothrow) Instance(int32_t(width), int32_t(height));
}

KELVRA_EXPORT void f0r_destruct(f0r_instance_t instance) { delete static_cast<Instance*>(instance); }

KELVRA_EXPORT void f0r_set_param_value(f0r_instance_t instance, f0r_param_t param, int index) {
    if (!known(index)) return;
    static_cast<Instance*>(instance)->values[index] = *static_cast<const double*>(param);
}

KELVRA_EXPORT void f0r_get_param_value(f0r_instance_t instance, f0r_param_t param, int index) {
    if (!known(index)) return;
    *static_cast<double*>(param) = static_cast<Instance*>(instance)->values[index];
}

KELVRA_EXPORT void f0r_update(f0r_instance_t instance, double time, const uint32_t* in, uint32_t* out) {
    Instance& self = *static_cast<Instance*>(instance);
    self.corrector.correct(kelvra::frei0r::live_settings(self.values, self.width, self.height), time, in,
                           out);
}

KELVRA_EXPORT void f0r_update2(f0r_instance_t instance, double time, const uint32_t* in, const uint32_t*,
                               const uint32_t*, uint32_t* out) {
    f0r_update(instance, time, in, out);
}
