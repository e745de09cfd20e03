// SPDX-License-Identifier: GPL-2.0-or-later
// A digest of the DLL's output over a fixed, varied sequence of frames and
// settings. Both builds must print the same one: the picture may not depend
// on the build.
#pragma once

#include <cstdint>

uint64_t frame_digest();
