// SPDX-License-Identifier: GPL-2.0-or-later
#include "plugin_host.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

constexpr size_t kGuardBytes = 64;
constexpr unsigned char kGuard = 0xC7;

Registration* g_registration = nullptr;
VDXFilterDefinition g_host_copy;  // the editor keeps its own copy

VDXFilterDefinition* add_filter(FilterModule* module, VDXFilterDefinition* definition, int size) {
    Registration& r = *g_registration;
    ++r.add_filter_calls;
    r.module = module;
    r.definition = definition;
    r.definition_size = size;
    std::memcpy(&g_host_copy, definition, sizeof g_host_copy);
    r.handle = &g_host_copy;
    return r.handle;
}

void remove_filter(VDXFilterDefinition* handle) {
    ++g_registration->remove_filter_calls;
    g_registration->removed = handle;
}

FilterModule* fake_module() {
    static int token;
    return reinterpret_cast<FilterModule*>(&token);
}

// GetProcAddress gives a generic function pointer; the detour through
// void (*)() is the cast GCC accepts quietly.
template <typename Function>
Function export_of(HMODULE module, const char* name) {
    return reinterpret_cast<Function>(reinterpret_cast<void (*)()>(GetProcAddress(module, name)));
}

[[noreturn]] void fail_loading(const char* what) {
    std::printf("cannot load the plug-in: %s (%s)\n", what, plugin_path().c_str());
    std::exit(2);
}

}  // namespace

std::string plugin_path() {
    char path[MAX_PATH];
    const DWORD n = GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string folder(path, n);
    return folder.substr(0, folder.find_last_of("\\/") + 1) + "kelvra.vdf";
}

Plugin& plugin() {
    static Plugin p;
    if (p.module) return p;
    p.module = LoadLibraryA(plugin_path().c_str());
    if (!p.module) fail_loading("LoadLibrary");
    p.init = export_of<ModuleInit>(p.module, "VirtualdubFilterModuleInit2");
    p.deinit = export_of<ModuleDeinit>(p.module, "VirtualdubFilterModuleDeinit");
    if (!p.init || !p.deinit) fail_loading("exports");
    p.functions.addFilter = add_filter;
    p.functions.removeFilter = remove_filter;
    g_registration = &p.registration;
    p.registration.init_result =
        p.init(fake_module(), &p.functions, p.registration.version, p.registration.compatible);
    if (!p.registration.definition) fail_loading("addFilter was not called");
    return p;
}

void Plugin::unload() { deinit(fake_module(), &functions); }

Instance::Instance() {
    const size_t size = plugin().definition().inst_data_size;
    storage_.assign(size + kGuardBytes, kGuard);
    std::memset(storage_.data(), 0, size);
    activation.filter = &plugin().definition();
    activation.filter_data = storage_.data();
    activation.src = &src;
    activation.dst = &dst;
}

bool Instance::guard_intact() const {
    const size_t size = plugin().definition().inst_data_size;
    for (size_t i = size; i < storage_.size(); ++i)
        if (storage_[i] != kGuard) return false;
    return true;
}

void Instance::set_size(int w, int h) {
    src.w = dst.w = w;
    src.h = dst.h = h;
}

int Instance::init() { return plugin().definition().initProc(&activation, &plugin().functions); }
int Instance::start() { return plugin().definition().startProc(&activation, &plugin().functions); }
int Instance::run() { return plugin().definition().runProc(&activation, &plugin().functions); }

int Instance::config(HWND parent, IVDXFilterPreview* preview) {
    activation.ifp = preview;
    return plugin().definition().configProc(&activation, &plugin().functions, parent);
}

std::string Instance::summary() {
    char buffer[256];
    std::memset(buffer, 'x', sizeof buffer);
    plugin().definition().stringProc(&activation, &plugin().functions, buffer);
    return buffer;
}

bool Instance::script_line(char* buffer, int size) {
    return plugin().definition().fssProc(&activation, &plugin().functions, buffer, size);
}

void Instance::call_config(const VDXScriptValue* args, int count) {
    const VDXScriptFunctionDef& method = plugin().definition().script_obj->func_list[0];
    auto handler = reinterpret_cast<VDXScriptVoidFunctionPtr>(reinterpret_cast<void (*)()>(method.func_ptr));
    handler(nullptr, &activation, args, count);
}
