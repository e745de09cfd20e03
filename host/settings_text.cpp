// SPDX-License-Identifier: GPL-2.0-or-later
// The summary for the editor's filter list and the script line it saves.
#include <cstdio>
#include <cstring>

#include "dialog/settings_edit.h"
#include "plugin.h"

namespace {

// Seven values of at most 11 characters: the summary is at most 133
// characters, the script line at most 91.
constexpr int kSummaryBuffer = 134;
constexpr int kLineBuffer = 160;

// Bounded and always terminated, whatever the C runtime's snprintf does on
// truncation; bytes past `size` are never touched.
void copy_terminated(char* buffer, int size, const char* text, int length) {
    if (size <= 0) return;
    const int n = length < size ? length : size - 1;
    std::memcpy(buffer, text, n);
    buffer[n] = '\0';
}

void format_settings(char* buffer, int size, const char* format, const VDXFilterActivation* fa) {
    int32_t v[kelvra::kScriptValues];
    kelvra::config_values(record_of(fa), v);
    char line[kLineBuffer];
    const int length = std::snprintf(line, sizeof line, format, v[0], v[1], v[2], v[3], v[4], v[5], v[6]);
    copy_terminated(buffer, size, line, length);
}

}  // namespace

// The host passes no size: its buffer holds the longest summary.
void StringProc(const VDXFilterActivation* fa, const VDXFilterFunctions*, char* buffer) {
    format_settings(buffer, kSummaryBuffer,
                    " (level %d, mode %d, border %d, NUP %d, NLEFT %d, NRIGHT %d, NDOWN %d)", fa);
}

// Returns true even when the line was cut: the host's contract, and its
// buffer is far longer than the longest line.
bool FssProc(VDXFilterActivation* fa, const VDXFilterFunctions*, char* buffer, int size) {
    format_settings(buffer, size, "Config(%d,%d,%d,%d,%d,%d,%d)", fa);
    return true;
}
