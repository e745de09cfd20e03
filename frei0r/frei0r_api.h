// SPDX-License-Identifier: GPL-2.0-or-later
// frei0r's header declares C functions without saying so.
#pragma once

extern "C" {
#include <frei0r.h>
}
