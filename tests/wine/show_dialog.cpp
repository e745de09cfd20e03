// SPDX-License-Identifier: GPL-2.0-or-later
#include "show_dialog.h"

#include <cstdio>
#include <cstdlib>

#include "dialog_session.h"

int show_dialog(const char* milliseconds_text) {
    const int milliseconds = milliseconds_text ? std::atoi(milliseconds_text) : 3000;
    DialogSession s(720, 576);
    std::vector<DialogStep> steps;
    steps.push_back([](HWND dialog) {
        RECT r;
        GetWindowRect(dialog, &r);
        std::printf("dialog %ld %ld %ld %ld\n", r.left, r.top, r.right - r.left, r.bottom - r.top);
        std::fflush(stdout);
    });
    // One step a tick: hold the dialog open, then press Ok.
    for (int held = 0; held < milliseconds / 20; ++held) steps.push_back([](HWND) {});
    steps.push_back([](HWND dialog) { click(dialog, 1016); });
    return s.run(steps);
}
