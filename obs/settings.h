// SPDX-License-Identifier: GPL-2.0-or-later
// The filter's settings as OBS keeps them (obs_data), its property sheet,
// and the engine's live settings they stand for.
#pragma once

#include <obs-module.h>

#include <cstdint>

#include "time/live_corrector.h"

namespace kelvra::obs {

void set_defaults(obs_data_t* data);

obs_properties_t* make_properties();

// The settings as the user left them; the border offsets in pixels, not yet
// fitted to a frame.
LiveSettings read_settings(obs_data_t* data);

// As the dialog keeps them for a width x height frame: each offset within
// its slider, and a pair that would leave fewer than 10 rows or columns
// pulled back.
LiveSettings fitted(LiveSettings settings, int32_t width, int32_t height);

}  // namespace kelvra::obs
