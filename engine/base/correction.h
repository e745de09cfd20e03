// SPDX-License-Identifier: GPL-2.0-or-later
// The two corrections a binding can run: the plug-in's limiter on histogram
// statistics (the only one the editor's plug-in has) and balance.
#pragma once

namespace kelvra {

enum class Correction { kPlugin, kBalance };

}  // namespace kelvra
