// SPDX-License-Identifier: GPL-2.0-or-later
// The settings dialog. Every control writes its field of the record the
// moment it changes and asks the editor's preview to redo the frame, so the
// picture follows each click; Cancel writes the copies taken at opening back.
#include "settings_dialog.h"

#include <commctrl.h>

#include "dialog/dialog_rules.h"
#include "dialog/settings_edit.h"
#include "dialog_ids.h"
#include "plugin.h"

namespace {

using kelvra::FilterData;
using kelvra::load_relaxed;

struct CheckBox {
    int id;
    int32_t FilterData::*field;
};

constexpr CheckBox kCheckBoxes[] = {
    {IDC_DISABLE, &FilterData::disable},
    {IDC_BORDER, &FilterData::border},
    {IDC_SHOW_HISTOGRAM, &FilterData::show_histogram},
    {IDC_SOFT, &FilterData::soft},
    {IDC_FREEZE, &FilterData::freeze},
};

struct OffsetSlider {
    int id;
    kelvra::Offset which;
    int32_t FilterData::*field;
    int32_t FilterData::*dimension;
    int opposite_id;
    int32_t FilterData::*opposite;
};

// In the order the dialog sets them up and matches WM_HSCROLL against them.
constexpr OffsetSlider kOffsetSliders[] = {
    {IDC_UP, kelvra::Offset::Up, &FilterData::nup, &FilterData::frame_height, IDC_DOWN, &FilterData::ndown},
    {IDC_LEFT, kelvra::Offset::Left, &FilterData::nleft, &FilterData::frame_width, IDC_RIGHT,
     &FilterData::nright},
    {IDC_RIGHT, kelvra::Offset::Right, &FilterData::nright, &FilterData::frame_width, IDC_LEFT,
     &FilterData::nleft},
    {IDC_DOWN, kelvra::Offset::Down, &FilterData::ndown, &FilterData::frame_height, IDC_UP, &FilterData::nup},
};

constexpr WPARAM kTickEvery = 10;

void set_slider_position(HWND dialog, int id, int32_t position) {
    SendDlgItemMessageA(dialog, id, TBM_SETPOS, TRUE, position);
}

void set_up_slider(HWND dialog, int id, int32_t min, int32_t max, BOOL redraw_range, int32_t position) {
    SendDlgItemMessageA(dialog, id, TBM_SETTICFREQ, kTickEvery, 0);
    // The packed range keeps 16 bits of each end.
    SendDlgItemMessageA(dialog, id, TBM_SETRANGE, redraw_range, MAKELPARAM(min, max));
    set_slider_position(dialog, id, position);
}

int32_t slider_position(HWND dialog, int id) {
    return static_cast<int32_t>(SendDlgItemMessageA(dialog, id, TBM_GETPOS, 0, 0));
}

// Shows the record as it is: a stored value outside a slider's range sits at
// its end, and the record keeps it until that slider moves.
INT_PTR on_init_dialog(HWND dialog, FilterData& fd) {
    SetWindowLongPtrA(dialog, DWLP_USER, reinterpret_cast<LONG_PTR>(&fd));
    kelvra::begin_dialog(fd);
    set_up_slider(dialog, IDC_LEVEL, kelvra::kMinLevel, kelvra::kMaxLevel, FALSE, load_relaxed(fd.level));
    for (const CheckBox& box : kCheckBoxes)
        CheckDlgButton(dialog, box.id, load_relaxed(fd.*box.field) ? BST_CHECKED : BST_UNCHECKED);
    for (const OffsetSlider& s : kOffsetSliders)
        set_up_slider(dialog, s.id, kelvra::kMinOffset,
                      kelvra::offset_slider_max(load_relaxed(fd.*s.dimension)), TRUE,
                      load_relaxed(fd.*s.field));
    fd.preview->InitButton(GetDlgItem(dialog, IDC_SHOW_PREVIEW));
    return TRUE;
}

// Acts on every notification code, so each step of a drag reaches the
// preview. A message from any other window changes nothing.
void on_slider(HWND dialog, FilterData& fd, HWND slider) {
    if (slider == GetDlgItem(dialog, IDC_LEVEL)) {
        kelvra::store_relaxed(fd.level, slider_position(dialog, IDC_LEVEL));
        fd.preview->RedoFrame();
        return;
    }
    for (const OffsetSlider& s : kOffsetSliders) {
        if (slider != GetDlgItem(dialog, s.id)) continue;
        const int32_t opposite_before = load_relaxed(fd.*s.opposite);
        const int32_t opposite_after = kelvra::move_offset(fd, s.which, slider_position(dialog, s.id));
        if (opposite_after != opposite_before) set_slider_position(dialog, s.opposite_id, opposite_after);
        fd.preview->RedoFrame();
        return;
    }
}

// Escape, the close box and Enter (ids 2 and 1) match nothing and leave the
// dialog open: it ends only through Ok and Cancel.
INT_PTR on_command(HWND dialog, FilterData& fd, int id) {
    for (const CheckBox& box : kCheckBoxes) {
        if (id != box.id) continue;
        kelvra::set_flag(fd.*box.field, IsDlgButtonChecked(dialog, id) != 0);
        fd.preview->RedoFrame();
        return FALSE;
    }
    switch (id) {
        case IDC_SHOW_PREVIEW:
            fd.preview->Toggle(dialog);
            fd.preview->RedoFrame();
            return FALSE;
        case IDC_OK:
            EndDialog(dialog, IDC_OK);
            kelvra::accept_dialog(fd);
            return TRUE;
        case IDC_CANCEL:
            kelvra::cancel_dialog(fd);
            EndDialog(dialog, 1);
            return FALSE;
    }
    return FALSE;
}

}  // namespace

INT_PTR CALLBACK ConfigDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    // Null until WM_INITDIALOG stores it; messages before then change nothing.
    FilterData* fd = reinterpret_cast<FilterData*>(GetWindowLongPtrA(dialog, DWLP_USER));
    switch (message) {
        case WM_INITDIALOG:
            return on_init_dialog(dialog, *reinterpret_cast<FilterData*>(lParam));
        case WM_HSCROLL:
            if (fd) on_slider(dialog, *fd, reinterpret_cast<HWND>(lParam));
            return FALSE;
        case WM_COMMAND:
            return fd ? on_command(dialog, *fd, LOWORD(wParam)) : FALSE;
    }
    return FALSE;
}
