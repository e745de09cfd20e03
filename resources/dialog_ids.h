// SPDX-License-Identifier: GPL-2.0-or-later
// Resource and control ids of the settings dialog, shared by the template,
// the dialog procedure and the test host.
#pragma once

#define IDD_SETTINGS 1000

#define IDC_LEVEL 1001
#define IDC_LEVEL_LABEL 1002
#define IDC_GROUP_RIGHT 1003
#define IDC_GROUP_LEVEL 1004
#define IDC_GROUP_FREEZE 1005
#define IDC_DISABLE 1006
#define IDC_GROUP_LEFT 1007
#define IDC_BORDER 1008
#define IDC_SHOW_HISTOGRAM 1009
#define IDC_SOFT 1010
#define IDC_SHOW_PREVIEW 1015
#define IDC_OK 1016
#define IDC_CANCEL 1017
#define IDC_FREEZE 1018
#define IDC_UP 1019
#define IDC_LEFT 1020
#define IDC_RIGHT 1021
#define IDC_DOWN 1022

// The "Border" group box and the offset labels keep the small ids the
// template has always had.
#define IDC_GROUP_BORDER 1
#define IDC_UP_LABEL 6
#define IDC_LEFT_LABEL 7
#define IDC_RIGHT_LABEL 8
#define IDC_DOWN_LABEL 9
