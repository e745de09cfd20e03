// SPDX-License-Identifier: GPL-2.0-or-later
// Ctrl-C, SIGTERM and SIGHUP only raise a flag: blocking reads and writes
// return early, the run unwinds, and its temporary files go with it.
#pragma once

namespace kelvra::cli {

void install_interrupt_handlers();
bool interrupted();

constexpr int kInterruptedStatus = 130;

}  // namespace kelvra::cli
