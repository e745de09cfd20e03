// `kelvra --help`, written from the option table.
#pragma once

#include <string>

namespace kelvra::cli {

std::string help_text();

}  // namespace kelvra::cli
