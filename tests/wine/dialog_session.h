// SPDX-License-Identifier: GPL-2.0-or-later
// The real settings dialog, driven as the editor and a user would: the test
// host's window is the parent, the common controls are loaded first (the
// editor has them), ConfigProc runs its modal loop, and a timer plays the
// steps on the open dialog, one per tick, so that posted messages (keys,
// the close box) are handled by the loop before the next step looks.
#pragma once

#include <functional>
#include <vector>

#include "fake_preview.h"
#include "host_bitmap.h"
#include "plugin_host.h"

using DialogStep = std::function<void(HWND dialog)>;

class DialogSession {
public:
    // An instance of w × h source frames, InitProc already run.
    DialogSession(int w, int h);

    Instance instance;
    FakePreview preview;
    // RedoFrame renders this source into `output`, as the editor's preview.
    Image source;
    Image output;

    kelvra::FilterData& record() { return instance.record(); }

    // Runs ConfigProc while the steps play; returns ConfigProc's result. The
    // steps must end the dialog (Ok or Cancel); a dialog left open is a
    // failure and is closed.
    int run(const std::vector<DialogStep>& steps);
    // The dialog's window while it is open.
    HWND dialog() const;

private:
    static void redo_frame(void* self);
};

// What a user does, and what the dialog shows.
void click(HWND dialog, int id);
void press_key(HWND control, UINT key);  // key down and up, through the control itself
void drag_slider(HWND dialog, int id, int position, int code);
int slider_position(HWND dialog, int id);
int slider_min(HWND dialog, int id);
int slider_max(HWND dialog, int id);
bool checked(HWND dialog, int id);
