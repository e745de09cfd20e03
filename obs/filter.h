// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

namespace kelvra::obs {

// Registers the "Kelvra" filter (id kelvra_filter) with OBS.
void register_filter();

}  // namespace kelvra::obs
