// SPDX-License-Identifier: GPL-2.0-or-later
// The memory floor of a frame pass: read the source twice and write the
// destination once, with no work in between. Every pass is measured
// against it.
#pragma once

#include <cstdint>

#include "base/frame.h"

uint32_t floor_pass(const kelvra::Frame& src, const kelvra::Frame& dst);
