// SPDX-License-Identifier: GPL-2.0-or-later
// The module's entry points: the Windows loader's DllMain and the two
// functions the editor looks up by name to register the filter.
#include "plugin.h"

HINSTANCE g_hInst;

namespace {
VDXFilterDefinition* g_registeredFilterDef;
}

// WINAPI matters on 32-bit: the runtime looks for the stdcall DllMain and
// silently uses its own default for any other.
extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID) {
    if (reason == DLL_PROCESS_ATTACH) g_hInst = instance;
    return TRUE;
}

extern "C" int VirtualdubFilterModuleInit2(FilterModule* module, const VDXFilterFunctions* ff, int& version,
                                           int& compatible) {
    g_registeredFilterDef = ff->addFilter(module, &g_myFilterDef, sizeof(VDXFilterDefinition));
    version = kFilterDefinitionVersion;
    compatible = kFilterDefinitionCompatible;
    return 0;
}

extern "C" void VirtualdubFilterModuleDeinit(FilterModule*, const VDXFilterFunctions* ff) {
    ff->removeFilter(g_registeredFilterDef);
}
