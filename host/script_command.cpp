// SPDX-License-Identifier: GPL-2.0-or-later
// The script method Config(level, soft, border, nup, nleft, nright, ndown),
// which restores what FssProc saved.
#include "dialog/settings_edit.h"
#include "plugin.h"

namespace {

// Values are stored as they come, so a saved line comes back exactly. The
// tag is not checked: a frame server passes these integers as T_LONG.
void script_config(IVDXScriptInterpreter*, void* object, const VDXScriptValue* args, int count) {
    if (count < kelvra::kScriptValues) return;
    int32_t values[kelvra::kScriptValues];
    for (int i = 0; i < kelvra::kScriptValues; ++i) values[i] = args[i].asInt();
    kelvra::apply_config(record_of(static_cast<VDXFilterActivation*>(object)), values);
}

// The host calls a "0" method through the void type; the detour through a
// plain function pointer type is the one cast GCC accepts quietly.
VDXScriptFunctionDef g_scriptFunctions[] = {
    {reinterpret_cast<VDXScriptFunctionPtr>(reinterpret_cast<void (*)()>(script_config)), "Config",
     "0iiiiiii"},
    {nullptr, nullptr, nullptr},
};

}  // namespace

VDXScriptObject g_scriptObject = {nullptr, g_scriptFunctions, nullptr};
