// SPDX-License-Identifier: GPL-2.0-or-later
#include "pass_kinds.h"

void apply_pass_kind(kelvra::FilterData& fd, const PassKind& kind, int w, int h) {
    fd.show_histogram = kind.overlay;
    fd.border = kind.border;
    fd.nup = fd.ndown = h / 8;
    fd.nleft = fd.nright = w / 8;
}
