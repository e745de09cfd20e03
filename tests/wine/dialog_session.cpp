// SPDX-License-Identifier: GPL-2.0-or-later
#include "dialog_session.h"

#include <commctrl.h>

#include "check.h"

namespace {

constexpr UINT kTickMs = 20;

struct Playback {
    const std::vector<DialogStep>* steps = nullptr;
    size_t next = 0;
    FakePreview* preview = nullptr;
    bool left_open = false;
};

Playback g_playback;

HWND open_dialog(const FakePreview& preview) {
    return preview.button && IsWindow(preview.button) ? GetParent(preview.button) : nullptr;
}

void CALLBACK tick(HWND, UINT, UINT_PTR, DWORD) {
    Playback& p = g_playback;
    const HWND dialog = open_dialog(*p.preview);
    if (!dialog || !IsWindowVisible(dialog)) return;
    if (p.next < p.steps->size()) {
        (*p.steps)[p.next++](dialog);
        return;
    }
    // Every step played and the dialog still open: it would hang the test.
    p.left_open = true;
    EndDialog(dialog, 0);
}

HWND host_window() {
    static HWND window = nullptr;
    if (window) return window;
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_BAR_CLASSES};
    InitCommonControlsEx(&controls);
    window = CreateWindowA("STATIC", "Kelvra test host", WS_OVERLAPPEDWINDOW, 0, 0, 640, 480, nullptr,
                           nullptr, GetModuleHandleA(nullptr), nullptr);
    return window;
}

}  // namespace

DialogSession::DialogSession(int w, int h) : source(w, h), output(w, h) {
    std::mt19937 rng(w * 31 + h);
    source = natural_image(w, h, rng);
    instance.set_size(w, h);
    instance.init();
    preview.on_redo_frame = redo_frame;
    preview.context = this;
}

void DialogSession::redo_frame(void* self) {
    DialogSession& s = *static_cast<DialogSession*>(self);
    HostBitmap in(s.source), out(s.source.w, s.source.h, RowLayout::Contiguous);
    s.instance.src = in.bitmap;
    s.instance.dst = out.bitmap;
    s.instance.run();
    s.output = out.image();
}

int DialogSession::run(const std::vector<DialogStep>& steps) {
    g_playback = Playback{&steps, 0, &preview, false};
    const HWND parent = host_window();
    const UINT_PTR timer = SetTimer(nullptr, 0, kTickMs, tick);
    const int result = instance.config(parent, preview.as_interface());
    KillTimer(nullptr, timer);
    CHECK(!g_playback.left_open);
    CHECK_EQ(g_playback.next, steps.size());
    return result;
}

HWND DialogSession::dialog() const { return open_dialog(preview); }

void click(HWND dialog, int id) { SendDlgItemMessageA(dialog, id, BM_CLICK, 0, 0); }

void press_key(HWND control, UINT key) {
    SetFocus(control);
    SendMessageA(control, WM_KEYDOWN, key, 1);
    SendMessageA(control, WM_KEYUP, key, 0xC0000001);
}

void drag_slider(HWND dialog, int id, int position, int code) {
    const HWND slider = GetDlgItem(dialog, id);
    SendMessageA(slider, TBM_SETPOS, TRUE, position);
    SendMessageA(dialog, WM_HSCROLL, MAKEWPARAM(code, position), reinterpret_cast<LPARAM>(slider));
}

int slider_position(HWND dialog, int id) { return int(SendDlgItemMessageA(dialog, id, TBM_GETPOS, 0, 0)); }
int slider_min(HWND dialog, int id) { return int(SendDlgItemMessageA(dialog, id, TBM_GETRANGEMIN, 0, 0)); }
int slider_max(HWND dialog, int id) { return int(SendDlgItemMessageA(dialog, id, TBM_GETRANGEMAX, 0, 0)); }
bool checked(HWND dialog, int id) { return IsDlgButtonChecked(dialog, id) == BST_CHECKED; }
