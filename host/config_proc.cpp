// SPDX-License-Identifier: GPL-2.0-or-later
// The editor's configuration callback: runs the settings dialog modally over
// the instance's record.
#include "dialog_ids.h"
#include "plugin.h"
#include "settings_dialog.h"

int ConfigProc(VDXFilterActivation* fa, const VDXFilterFunctions*, HWND parent) {
    kelvra::FilterData& fd = record_of(fa);
    fd.preview = fa->ifp;
    kelvra::store_relaxed(fd.frame_height, fa->src->h);
    kelvra::store_relaxed(fd.frame_width, fa->src->w);
    const INT_PTR result = DialogBoxParamA(g_hInst, MAKEINTRESOURCEA(IDD_SETTINGS), parent, ConfigDlgProc,
                                           reinterpret_cast<LPARAM>(&fd));
    // Ok ends the dialog with 1016 and Cancel with 1: both give 0. Only a
    // parent the dialog could not use gives 0 from DialogBoxParamA.
    return result == 0 ? 1 : 0;
}
