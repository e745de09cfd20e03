// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "time/shots.h"

namespace kelvra::cli {

// The warning for --cut-at and --no-cut-at frames past the last of `frames`,
// or nothing.
std::optional<std::string> cuts_beyond_warning(const CutRules& rules, int64_t frames);

}  // namespace kelvra::cli
