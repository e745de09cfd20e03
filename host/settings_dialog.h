// SPDX-License-Identifier: GPL-2.0-or-later
// The modal settings dialog's procedure; ConfigProc runs it.
#pragma once

#include <windows.h>

INT_PTR CALLBACK ConfigDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
