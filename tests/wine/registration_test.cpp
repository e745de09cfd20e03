// SPDX-License-Identifier: GPL-2.0-or-later
// Loading and registration as the editor does it: the two exports, one
// addFilter call, the definition's fields and the script object.
#include <cstring>
#include <string>

#include "check.h"
#include "plugin_host.h"

namespace {

constexpr bool k64 = sizeof(void*) == 8;

}  // namespace

TEST_CASE(registration_reports_version_14_compatible_8) {
    const Registration& r = plugin().registration;
    CHECK_EQ(r.init_result, 0);
    CHECK_EQ(r.add_filter_calls, 1);
    CHECK_EQ(r.version, 14);
    CHECK_EQ(r.compatible, 8);
    CHECK_EQ(r.definition_size, k64 ? 208 : 104);
    CHECK(r.module != nullptr);
}

TEST_CASE(registration_definition_fields) {
    const VDXFilterDefinition& d = plugin().definition();
    CHECK(d._next == nullptr && d._prev == nullptr && d._module == nullptr);
    CHECK_EQ(std::string(d.name), "KELVRA, version 3.7");
    CHECK_EQ(std::string(d.desc), "Kelvra, version 3.7");
    CHECK(d.maker != nullptr && std::strlen(d.maker) > 0);
    CHECK(d.private_data == nullptr);
    CHECK_EQ(d.inst_data_size, k64 ? 232 : 228);
    CHECK(d.initProc && d.runProc && d.configProc && d.stringProc && d.startProc && d.fssProc);
    CHECK(d.deinitProc == nullptr && d.paramProc == nullptr && d.endProc == nullptr);
    CHECK(!d.stringProc2 && !d.serializeProc && !d.deserializeProc && !d.copyProc);
    CHECK(!d.prefetchProc && !d.copyProc2 && !d.prefetchProc2 && !d.eventProc);
}

TEST_CASE(registration_script_object_declares_config) {
    const VDXScriptObject* object = plugin().definition().script_obj;
    CHECK(object != nullptr);
    if (!object) return;
    CHECK(object->_lookup == nullptr && object->_obj_list == nullptr);
    const VDXScriptFunctionDef* f = object->func_list;
    CHECK(f[0].func_ptr != nullptr);
    CHECK_EQ(std::string(f[0].name), "Config");
    CHECK_EQ(std::string(f[0].arg_list), "0iiiiiii");
    CHECK(f[1].func_ptr == nullptr && f[1].name == nullptr && f[1].arg_list == nullptr);
}

TEST_CASE(registration_deinit_hands_back_the_host_handle) {
    Plugin& p = plugin();
    p.unload();
    CHECK_EQ(p.registration.remove_filter_calls, 1);
    // The handle addFilter returned, not the module's own definition.
    CHECK(p.registration.removed == p.registration.handle);
    CHECK(p.registration.removed != p.registration.definition);
}
