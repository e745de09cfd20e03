// SPDX-License-Identifier: GPL-2.0-or-later
// `kelvra --help`, written from the option table.
#pragma once

#include <string>

namespace kelvra::cli {

std::string help_text();

}  // namespace kelvra::cli
