// SPDX-License-Identifier: GPL-2.0-or-later
// Opens the settings dialog on a fresh 720 × 576 instance and keeps it open
// for a while, for the screenshot script; prints the dialog's screen
// rectangle once it is open.
#pragma once

int show_dialog(const char* milliseconds);  // null: 3000
