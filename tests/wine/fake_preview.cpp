// SPDX-License-Identifier: GPL-2.0-or-later
#include "fake_preview.h"

// Member functions of the host's class are __thiscall on 32-bit.
#if defined(__i386__)
#define HOST_METHOD __attribute__((thiscall))
#else
#define HOST_METHOD
#endif

namespace {

HOST_METHOD void toggle(FakePreview* self, HWND window) {
    ++self->toggle_calls;
    self->toggled_with = window;
}

HOST_METHOD void redo_frame(FakePreview* self) {
    ++self->redo_frame_calls;
    if (self->on_redo_frame) self->on_redo_frame(self->context);
}

HOST_METHOD void init_button(FakePreview* self, HWND button) {
    ++self->init_button_calls;
    self->button = button;
}

// Any other method, with its own arguments so the stack stays balanced.
template <typename Result, typename... Args>
HOST_METHOD Result other(FakePreview* self, Args...) {
    ++self->other_calls;
    return Result();
}

template <typename Function>
const void* slot(Function f) {
    return reinterpret_cast<const void*>(f);
}

using ButtonCallback = void (*)(bool, void*);
using SampleCallback = void (*)(VDXFBitmap*, long, long, void*);

const void* const kVtable[] = {
    slot(other<void, ButtonCallback, void*>),  // 0 SetButtonCallback
    slot(other<void, SampleCallback, void*>),  // 1 SetSampleCallback
    slot(other<bool>),                         // 2 isPreviewEnabled
    slot(toggle),                              // 3 Toggle
    slot(other<void, HWND, bool>),             // 4 Display
    slot(redo_frame),                          // 5 RedoFrame
    slot(other<void>),                         // 6 RedoSystem
    slot(other<void>),                         // 7 UndoSystem
    slot(init_button),                         // 8 InitButton
    slot(other<void>),                         // 9 Close
    slot(other<bool>),                         // 10 SampleCurrentFrame
    slot(other<long>),                         // 11 SampleFrames
};

}  // namespace

FakePreview::FakePreview() : vtable(kVtable) {}
