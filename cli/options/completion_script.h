// SPDX-License-Identifier: GPL-2.0-or-later
// The bash completion of `kelvra`, written from the option table at build
// time, so it offers exactly the options the parser takes.
#pragma once

#include <string>

namespace kelvra::cli {

// A script for bash-completion's completions folder: option names after a
// dash, file names for the options that take a file and for IN and OUT,
// nothing for other values.
std::string completion_script();

}  // namespace kelvra::cli
