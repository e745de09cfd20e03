// SPDX-License-Identifier: GPL-2.0-or-later
// kelvra-obs, the OBS Studio module: one video filter.
#include <obs-module.h>

#include "filter.h"

OBS_DECLARE_MODULE()
OBS_MODULE_USE_DEFAULT_LOCALE("kelvra-obs", "en-US")

MODULE_EXPORT const char* obs_module_description(void) {
    return "Kelvra: automatic white balance and levels for any video source";
}

bool obs_module_load(void) {
    kelvra::obs::register_filter();
    return true;
}
