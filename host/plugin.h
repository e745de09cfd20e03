// SPDX-License-Identifier: GPL-2.0-or-later
// What the module's files share: the filter definition's callbacks, the
// script object and the module instance handle.
#pragma once

#include "base/filter_data.h"
#include "host_abi.h"

extern HINSTANCE g_hInst;
extern VDXFilterDefinition g_myFilterDef;
extern VDXScriptObject g_scriptObject;

int InitProc(VDXFilterActivation* fa, const VDXFilterFunctions* ff);
int StartProc(VDXFilterActivation* fa, const VDXFilterFunctions* ff);
int RunProc(const VDXFilterActivation* fa, const VDXFilterFunctions* ff);
int ConfigProc(VDXFilterActivation* fa, const VDXFilterFunctions* ff, HWND parent);
void StringProc(const VDXFilterActivation* fa, const VDXFilterFunctions* ff, char* buffer);
bool FssProc(VDXFilterActivation* fa, const VDXFilterFunctions* ff, char* buffer, int size);

inline kelvra::FilterData& record_of(const VDXFilterActivation* fa) {
    return *static_cast<kelvra::FilterData*>(fa->filter_data);
}
