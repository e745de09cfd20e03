// SPDX-License-Identifier: GPL-2.0-or-later
#include "colour/colour_tags.h"

namespace kelvra::cli {

std::string swscale_matrix(const std::string& m) {
    if (m == "bt709" || m == "fcc" || m == "smpte170m" || m == "smpte240m") return m;
    if (m == "bt470bg") return "bt470";
    if (m == "bt2020nc" || m == "bt2020c") return "bt2020";
    return {};
}

}  // namespace kelvra::cli
