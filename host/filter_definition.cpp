// SPDX-License-Identifier: GPL-2.0-or-later
// The one filter this module registers.
#include "plugin.h"

VDXFilterDefinition g_myFilterDef = {
    nullptr,  // _next
    nullptr,  // _prev
    nullptr,  // _module
    "KELVRA, version 3.7",
    "Kelvra, version 3.7",
    "Kelvra developers",
    nullptr,  // private_data
    sizeof(kelvra::FilterData),
    InitProc,
    nullptr,  // deinitProc: the host frees the record, nothing else is held
    RunProc,
    nullptr,  // paramProc: the output keeps the source's size and format
    ConfigProc,
    StringProc,
    StartProc,
    nullptr,  // endProc
    &g_scriptObject,
    FssProc,
    nullptr,  // stringProc2
    nullptr,  // serializeProc
    nullptr,  // deserializeProc
    nullptr,  // copyProc
    nullptr,  // prefetchProc
    nullptr,  // copyProc2
    nullptr,  // prefetchProc2
    nullptr,  // eventProc
};
