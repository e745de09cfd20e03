// SPDX-License-Identifier: GPL-2.0-or-later
// The editor's preview interface as the dialog meets it. The vtable is built
// by hand in the order of the host's interface, not from the plug-in's own
// class declaration, so a misordered method or a wrong calling convention
// shows here.
#pragma once

#include "host_abi.h"

struct FakePreview {
    const void* const* vtable;
    int init_button_calls = 0;
    HWND button = nullptr;
    int toggle_calls = 0;
    HWND toggled_with = nullptr;
    int redo_frame_calls = 0;
    int other_calls = 0;  // methods the dialog has no business calling
    // The editor renders the frame again on RedoFrame.
    void (*on_redo_frame)(void* context) = nullptr;
    void* context = nullptr;

    FakePreview();
    IVDXFilterPreview* as_interface() { return reinterpret_cast<IVDXFilterPreview*>(this); }
};
