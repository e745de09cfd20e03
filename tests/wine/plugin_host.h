// SPDX-License-Identifier: GPL-2.0-or-later
// The editor's side of the plug-in interface: loads kelvra.vdf from the test
// host's folder, registers it through the exported entry point with a host
// function table of its own, and creates instances the way the editor does.
#pragma once

#include <string>
#include <vector>

#include "base/filter_data.h"
#include "host_abi.h"

// What the module did with the host's function table.
struct Registration {
    int add_filter_calls = 0;
    FilterModule* module = nullptr;
    VDXFilterDefinition* definition = nullptr;
    int definition_size = 0;
    VDXFilterDefinition* handle = nullptr;  // the host's copy, returned by addFilter
    int remove_filter_calls = 0;
    VDXFilterDefinition* removed = nullptr;
    int init_result = -1;
    int version = 0;
    int compatible = 0;
};

using ModuleInit = int (*)(FilterModule*, const VDXFilterFunctions*, int&, int&);
using ModuleDeinit = void (*)(FilterModule*, const VDXFilterFunctions*);

struct Plugin {
    HMODULE module = nullptr;
    ModuleInit init = nullptr;
    ModuleDeinit deinit = nullptr;
    Registration registration;
    VDXFilterFunctions functions{};

    const VDXFilterDefinition& definition() const { return *registration.definition; }
    void unload();  // VirtualdubFilterModuleDeinit, as at the editor's exit
};

// Loaded and registered on first use; every case of a process shares it.
Plugin& plugin();
std::string plugin_path();

// One instance of the filter: the record the host allocates (zeroed, as a
// frame server does, with a guard zone behind it), the activation and the
// two bitmaps it points at.
class Instance {
public:
    Instance();
    Instance(const Instance&) = delete;
    Instance& operator=(const Instance&) = delete;

    kelvra::FilterData& record() { return *reinterpret_cast<kelvra::FilterData*>(storage_.data()); }
    bool guard_intact() const;

    // Source and destination bitmaps; their pixels belong to the caller.
    VDXFBitmap src{};
    VDXFBitmap dst{};
    VDXFilterActivation activation{};

    void set_size(int w, int h);  // both bitmaps' size, no pixels
    int init();
    int start();
    int run();
    int config(HWND parent, IVDXFilterPreview* preview);
    std::string summary();
    bool script_line(char* buffer, int size);
    void call_config(const VDXScriptValue* args, int count);

private:
    std::vector<unsigned char> storage_;
};
