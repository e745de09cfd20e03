// SPDX-License-Identifier: GPL-2.0-or-later
// The dialog's and the script command's writes to the record.
#include "dialog/settings_edit.h"

#include <gtest/gtest.h>

#include "test_frames.h"

using namespace kelvra;

TEST(DialogEdits, CancelRestoresTheSevenCopiesButNotDisableOrSoft) {
    FilterData fd = fresh_record(720, 576);
    fd.level = 40;
    begin_dialog(fd);
    EXPECT_EQ(fd.dialog_closed, 0);
    store_relaxed(fd.level, 200);
    set_flag(fd.disable, true);
    set_flag(fd.soft, true);
    set_flag(fd.border, true);
    set_flag(fd.freeze, true);
    move_offset(fd, Offset::Up, 300);
    cancel_dialog(fd);
    EXPECT_EQ(fd.level, 40);
    EXPECT_EQ(fd.border, 0);
    EXPECT_EQ(fd.freeze, 0);
    EXPECT_EQ(fd.nup, 1);
    EXPECT_EQ(fd.disable, 1);
    EXPECT_EQ(fd.soft, 1);
    EXPECT_EQ(fd.dialog_closed, 1);
}

TEST(DialogEdits, OkKeepsTheSettings) {
    FilterData fd = fresh_record(720, 576);
    begin_dialog(fd);
    store_relaxed(fd.level, 200);
    accept_dialog(fd);
    EXPECT_EQ(fd.level, 200);
    EXPECT_EQ(fd.dialog_closed, 1);
}

TEST(DialogEdits, OffsetCouplingOnA576RowSource) {
    FilterData fd = fresh_record(720, 576);
    fd.ndown = 270;
    EXPECT_EQ(move_offset(fd, Offset::Up, 296), 270);
    EXPECT_EQ(fd.ndown, 270);
    EXPECT_EQ(move_offset(fd, Offset::Up, 300), 266);
    EXPECT_EQ(fd.nup, 300);
    EXPECT_EQ(fd.ndown, 266);
    fd.nleft = 10;
    EXPECT_EQ(move_offset(fd, Offset::Right, 700), 10) << "700 + 10 = 720 - 10 stays";
    EXPECT_EQ(move_offset(fd, Offset::Right, 705), 5);
    EXPECT_EQ(fd.nleft, 5);
    EXPECT_EQ(move_offset(fd, Offset::Left, 705), 5);
    EXPECT_EQ(fd.nright, 5);
    EXPECT_EQ(move_offset(fd, Offset::Down, 561), 5);
    EXPECT_EQ(fd.nup, 5);
}

TEST(ScriptCommand, StoresSevenValuesUnchangedAndNothingElse) {
    FilterData fd = fresh_record(720, 576);
    fd.disable = fd.freeze = fd.show_histogram = 1;
    fd.history[2][3] = 77;
    const int32_t values[kScriptValues] = {-40, 1, 1, 20, INT32_MIN, 30, INT32_MAX};
    apply_config(fd, values);
    int32_t back[kScriptValues];
    config_values(fd, back);
    EXPECT_EQ(std::vector<int32_t>(back, back + 7), std::vector<int32_t>(values, values + 7));
    EXPECT_EQ(fd.level, -40);
    EXPECT_EQ(fd.soft, 1);
    EXPECT_EQ(fd.nleft, INT32_MIN);
    EXPECT_EQ(fd.disable + fd.freeze + fd.show_histogram, 3);
    EXPECT_EQ(fd.history[2][3], 77);
}
