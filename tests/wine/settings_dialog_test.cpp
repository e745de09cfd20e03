// SPDX-License-Identifier: GPL-2.0-or-later
// The settings dialog in a real window: what it shows on opening, sliders
// moved by the trackbar's own keyboard handling and by messages, the
// coupling rule, the check boxes, the preview calls, Ok and Cancel, and the
// commands that must leave it open.
#include <windows.h>
// after windows.h
#include <commctrl.h>

#include <string>

#include "check.h"
#include "dialog_ids.h"
#include "dialog_session.h"

namespace {

constexpr int kOffsetSliders[] = {IDC_UP, IDC_LEFT, IDC_RIGHT, IDC_DOWN};
constexpr int kCheckBoxes[] = {IDC_DISABLE, IDC_BORDER, IDC_SHOW_HISTOGRAM, IDC_SOFT, IDC_FREEZE};

void check_range(HWND dialog, int id, int max, int position) {
    CHECK_EQ(slider_min(dialog, id), 1);
    CHECK_EQ(slider_max(dialog, id), max);
    CHECK_EQ(slider_position(dialog, id), position);
}

}  // namespace

TEST_CASE(dialog_opens_with_a_fresh_record_on_720_by_576) {
    DialogSession s(720, 576);
    const int result = s.run({
        [&](HWND dialog) {
            check_range(dialog, IDC_LEVEL, 500, 25);
            check_range(dialog, IDC_UP, 561, 1);
            check_range(dialog, IDC_DOWN, 561, 1);
            check_range(dialog, IDC_LEFT, 705, 1);
            check_range(dialog, IDC_RIGHT, 705, 1);
            for (int id : kCheckBoxes) CHECK(!checked(dialog, id));
            CHECK_EQ(s.record().dialog_closed, 0);
            CHECK_EQ(s.preview.init_button_calls, 1);
            CHECK_EQ(GetDlgCtrlID(s.preview.button), IDC_SHOW_PREVIEW);
            CHECK(GetWindowLongPtrA(dialog, DWLP_USER) == reinterpret_cast<LONG_PTR>(&s.record()));
            char caption[32] = {};
            GetWindowTextA(dialog, caption, sizeof caption);
            CHECK_EQ(std::string(caption), "Setting");
        },
        [&](HWND dialog) { click(dialog, IDC_OK); },
    });
    CHECK_EQ(result, 0);
    CHECK_EQ(s.record().dialog_closed, 1);
    CHECK_EQ(s.preview.redo_frame_calls, 0);
    CHECK_EQ(s.preview.other_calls, 0);
    CHECK(s.record().saved_level == 25 && s.record().saved_nup == 1 && s.record().saved_ndown == 1);
}

TEST_CASE(dialog_opens_with_stored_settings_checked) {
    DialogSession s(640, 480);
    kelvra::FilterData& fd = s.record();
    fd.level = 123;
    fd.disable = fd.border = fd.show_histogram = fd.soft = fd.freeze = 1;
    fd.nup = 30;
    fd.nright = 200;
    s.run({
        [&](HWND dialog) {
            check_range(dialog, IDC_LEVEL, 500, 123);
            for (int id : kCheckBoxes) CHECK(checked(dialog, id));
            check_range(dialog, IDC_UP, 465, 30);
            check_range(dialog, IDC_RIGHT, 625, 200);
        },
        [&](HWND dialog) { click(dialog, IDC_OK); },
    });
    CHECK(fd.saved_level == 123 && fd.saved_border == 1 && fd.saved_freeze == 1);
    CHECK(fd.saved_nup == 30 && fd.saved_nleft == 1 && fd.saved_nright == 200 && fd.saved_ndown == 1);
}

TEST_CASE(dialog_strength_slider_by_keyboard_and_by_messages) {
    DialogSession s(320, 240);
    s.run({
        [&](HWND dialog) {
            // The trackbar handles the keys itself and notifies the dialog:
            // one line step, then the end of the move, each redone.
            press_key(GetDlgItem(dialog, IDC_LEVEL), VK_RIGHT);
            CHECK_EQ(s.record().level, 26);
            CHECK_EQ(s.preview.redo_frame_calls, 2);
            press_key(GetDlgItem(dialog, IDC_LEVEL), VK_END);
            CHECK_EQ(s.record().level, 500);
            CHECK_EQ(slider_position(dialog, IDC_LEVEL), 500);
        },
        [&](HWND dialog) {
            const int before = s.preview.redo_frame_calls;
            for (int position : {200, 201, 202, 203}) drag_slider(dialog, IDC_LEVEL, position, TB_THUMBTRACK);
            CHECK_EQ(s.record().level, 203);
            CHECK_EQ(s.preview.redo_frame_calls, before + 4);
            // A scroll message from a window that is no slider changes nothing.
            SendMessageA(dialog, WM_HSCROLL, TB_THUMBTRACK, LPARAM(GetDlgItem(dialog, IDC_SHOW_PREVIEW)));
            SendMessageA(dialog, WM_HSCROLL, TB_THUMBTRACK, 0);
            CHECK_EQ(s.preview.redo_frame_calls, before + 4);
        },
        [&](HWND dialog) { click(dialog, IDC_OK); },
    });
    CHECK_EQ(s.record().level, 203);
    CHECK_EQ(s.record().dialog_closed, 1);
}

TEST_CASE(dialog_offset_coupling_on_576_rows) {
    DialogSession s(720, 576);
    kelvra::FilterData& fd = s.record();
    fd.ndown = 270;
    s.run({
        [&](HWND dialog) {
            drag_slider(dialog, IDC_UP, 296, TB_THUMBPOSITION);  // 296 + 270 = 566: on the limit
            CHECK(fd.nup == 296 && fd.ndown == 270);
            CHECK_EQ(slider_position(dialog, IDC_DOWN), 270);
            drag_slider(dialog, IDC_UP, 300, TB_THUMBPOSITION);
            CHECK(fd.nup == 300 && fd.ndown == 266);
            CHECK_EQ(slider_position(dialog, IDC_DOWN), 266);
            CHECK_EQ(s.preview.redo_frame_calls, 2);
        },
        [&](HWND dialog) {
            drag_slider(dialog, IDC_DOWN, 561, TB_THUMBTRACK);
            CHECK(fd.ndown == 561 && fd.nup == 5);
            CHECK_EQ(slider_position(dialog, IDC_UP), 5);
            drag_slider(dialog, IDC_LEFT, 705, TB_THUMBTRACK);  // 705 + 1 < 710: no pull
            CHECK(fd.nleft == 705 && fd.nright == 1);
            drag_slider(dialog, IDC_RIGHT, 300, TB_THUMBTRACK);
            CHECK(fd.nright == 300 && fd.nleft == 410);
            CHECK_EQ(slider_position(dialog, IDC_LEFT), 410);
        },
        [&](HWND dialog) {
            // The trackbar's own keys go through the same rule.
            press_key(GetDlgItem(dialog, IDC_LEFT), VK_RIGHT);
            CHECK(fd.nleft == 411 && fd.nright == 299);
            CHECK_EQ(slider_position(dialog, IDC_RIGHT), 299);
        },
        [&](HWND dialog) { click(dialog, IDC_OK); },
    });
    CHECK(fd.nup == 5 && fd.ndown == 561 && fd.nleft == 411 && fd.nright == 299);
}

TEST_CASE(dialog_check_boxes_and_the_preview_button) {
    DialogSession s(64, 48);
    kelvra::FilterData& fd = s.record();
    int32_t kelvra::FilterData::*fields[] = {&kelvra::FilterData::disable, &kelvra::FilterData::border,
                                             &kelvra::FilterData::show_histogram, &kelvra::FilterData::soft,
                                             &kelvra::FilterData::freeze};
    s.run({
        [&](HWND dialog) {
            for (int i = 0; i < 5; ++i) {
                const int before = s.preview.redo_frame_calls;
                click(dialog, kCheckBoxes[i]);
                CHECK_EQ(fd.*fields[i], 1);
                CHECK_EQ(s.preview.redo_frame_calls, before + 1);
            }
            // The frame redone with Border ticked and the dialog open shows
            // the analysis outline: the outer ring but its corners.
            CHECK_EQ(s.output.at(1, 0), 0xFF0000u);
            CHECK_EQ(s.output.at(0, 1), 0xFF0000u);
            CHECK(s.output.at(0, 0) != 0xFF0000u);
            for (int i = 0; i < 5; ++i) {
                click(dialog, kCheckBoxes[i]);
                CHECK_EQ(fd.*fields[i], 0);
            }
            CHECK_EQ(s.preview.redo_frame_calls, 10);
        },
        [&](HWND dialog) {
            click(dialog, IDC_SHOW_PREVIEW);
            CHECK_EQ(s.preview.toggle_calls, 1);
            CHECK(s.preview.toggled_with == dialog);
            CHECK_EQ(s.preview.redo_frame_calls, 11);
        },
        [&](HWND dialog) { click(dialog, IDC_OK); },
    });
    CHECK_EQ(s.preview.other_calls, 0);
}

TEST_CASE(dialog_cancel_restores_the_saved_copies) {
    DialogSession s(720, 576);
    kelvra::FilterData& fd = s.record();
    fd.level = 40;
    fd.ndown = 100;
    int redo_before_cancel = 0;
    const int result = s.run({
        [&](HWND dialog) {
            drag_slider(dialog, IDC_LEVEL, 200, TB_THUMBPOSITION);
            for (int id : {IDC_DISABLE, IDC_SOFT, IDC_BORDER, IDC_FREEZE, IDC_SHOW_HISTOGRAM})
                click(dialog, id);
            drag_slider(dialog, IDC_UP, 500, TB_THUMBPOSITION);
            drag_slider(dialog, IDC_RIGHT, 77, TB_THUMBPOSITION);
            CHECK(fd.level == 200 && fd.nup == 500 && fd.ndown == 66 && fd.nright == 77);
            redo_before_cancel = s.preview.redo_frame_calls;
        },
        [&](HWND dialog) { click(dialog, IDC_CANCEL); },
    });
    CHECK_EQ(result, 0);
    CHECK_EQ(s.preview.redo_frame_calls, redo_before_cancel);
    CHECK(fd.level == 40 && fd.border == 0 && fd.freeze == 0);
    CHECK(fd.nup == 1 && fd.nleft == 1 && fd.nright == 1 && fd.ndown == 100);
    // Disable, Soft and the histogram switch have no saved copies.
    CHECK(fd.disable == 1 && fd.soft == 1 && fd.show_histogram == 1);
    // Later frames are averaged again and carry no outline.
    CHECK_EQ(fd.dialog_closed, 1);
}

TEST_CASE(dialog_escape_close_box_and_enter_leave_it_open) {
    DialogSession s(320, 240);
    HWND soft = nullptr;
    s.run({
        [&](HWND dialog) {
            SendMessageA(dialog, WM_COMMAND, IDOK, 0);
            SendMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
            CHECK(IsWindowVisible(dialog));
            soft = GetDlgItem(dialog, IDC_SOFT);
            SetFocus(soft);
            PostMessageA(soft, WM_KEYDOWN, VK_ESCAPE, 1);
        },
        [&](HWND dialog) {
            CHECK(IsWindowVisible(dialog));
            PostMessageA(soft, WM_KEYDOWN, VK_RETURN, 1);  // no push button has the focus
        },
        [&](HWND dialog) {
            CHECK(IsWindowVisible(dialog));
            PostMessageA(dialog, WM_SYSCOMMAND, SC_CLOSE, 0);
        },
        [&](HWND dialog) {
            CHECK(IsWindowVisible(dialog));
            CHECK_EQ(s.record().dialog_closed, 0);
            CHECK_EQ(s.record().soft, 0);
            CHECK_EQ(s.preview.redo_frame_calls, 0);
        },
        [&](HWND dialog) { click(dialog, IDC_OK); },
    });
}

// A script line can store offsets the sliders cannot show.
TEST_CASE(dialog_shows_out_of_range_offsets_at_the_end_and_keeps_them) {
    DialogSession s(720, 576);
    kelvra::FilterData& fd = s.record();
    fd.nup = 5000;
    fd.ndown = 300;  // with nup, far past the limit
    fd.nleft = -7;
    s.run({
        [&](HWND dialog) {
            CHECK_EQ(slider_position(dialog, IDC_UP), 561);
            CHECK_EQ(slider_position(dialog, IDC_LEFT), 1);
            CHECK(fd.nup == 5000 && fd.ndown == 300 && fd.nleft == -7);
            drag_slider(dialog, IDC_LEVEL, 60, TB_THUMBPOSITION);
            CHECK(fd.nup == 5000 && fd.nleft == -7);
        },
        [&](HWND dialog) { click(dialog, IDC_CANCEL); },
    });
    CHECK(fd.nup == 5000 && fd.ndown == 300 && fd.nleft == -7 && fd.level == 25);
}

// Frames of fewer than 16 rows or columns: 1..1 sliders, offsets never
// below 1.
TEST_CASE(dialog_on_a_tiny_frame) {
    DialogSession s(12, 10);
    kelvra::FilterData& fd = s.record();
    s.run({
        [&](HWND dialog) {
            for (int id : kOffsetSliders) check_range(dialog, id, 1, 1);
            drag_slider(dialog, IDC_UP, 1, TB_THUMBPOSITION);
            drag_slider(dialog, IDC_RIGHT, 1, TB_THUMBPOSITION);
            press_key(GetDlgItem(dialog, IDC_DOWN), VK_RIGHT);
            CHECK(fd.nup == 1 && fd.ndown == 1 && fd.nleft == 1 && fd.nright == 1);
            CHECK(s.output.w == 12 && s.output.h == 10);
        },
        [&](HWND dialog) { click(dialog, IDC_OK); },
    });
    CHECK(fd.nup == 1 && fd.ndown == 1 && fd.nleft == 1 && fd.nright == 1);
}
