// SPDX-License-Identifier: GPL-2.0-or-later
// How the settings dialog and the script command change the record. Each
// write is a relaxed atomic store of a whole field, so the frame pass running
// on another host thread always reads whole values; it takes one snapshot per
// frame and sees the change in the next frame, which the editor is asked for.
#pragma once

#include <cstdint>

#include "base/filter_data.h"

namespace kelvra {

// Dialog opening: marks the dialog open and takes the copies Cancel restores.
void begin_dialog(FilterData& fd);

// Ok keeps the settings; Cancel writes the seven copies back. Both mark the
// dialog closed, so later frames are averaged and carry no outline.
void accept_dialog(FilterData& fd);
void cancel_dialog(FilterData& fd);

enum class Offset { Up, Left, Right, Down };

// Stores an offset slider's position and applies the coupling rule against
// the opposite offset (frame size from `frame_height` / `frame_width`).
// Returns the opposite offset's value afterwards, for its slider.
int32_t move_offset(FilterData& fd, Offset which, int32_t position);

// Check boxes store exactly 0 or 1.
void set_flag(int32_t& field, bool checked);

// The script command Config(level, soft, border, nup, nleft, nright, ndown):
// stored unchanged, so a saved line comes back exactly.
constexpr int kScriptValues = 7;
void apply_config(FilterData& fd, const int32_t (&values)[kScriptValues]);

// The same seven values, in script order.
void config_values(const FilterData& fd, int32_t (&values)[kScriptValues]);

}  // namespace kelvra
