// SPDX-License-Identifier: GPL-2.0-or-later
// The version block the editor and Explorer show: 3.7.0.52 for the 64-bit
// build, 3.7.0.53 for the 32-bit one, in the fixed part and in the strings.
#include <windows.h>

#include <string>
#include <vector>

#include "check.h"
#include "plugin_host.h"

namespace {

const int kBuild = sizeof(void*) == 8 ? 52 : 53;

std::vector<char> version_block() {
    const std::string path = plugin_path();
    DWORD ignored = 0;
    std::vector<char> block(GetFileVersionInfoSizeA(path.c_str(), &ignored));
    if (block.empty() || !GetFileVersionInfoA(path.c_str(), 0, DWORD(block.size()), block.data()))
        block.clear();
    return block;
}

std::string string_value(std::vector<char>& block, const char* name) {
    void* value = nullptr;
    UINT length = 0;
    const std::string key = std::string("\\StringFileInfo\\040904b0\\") + name;
    if (!VerQueryValueA(block.data(), key.c_str(), &value, &length) || length == 0) return "(missing)";
    return static_cast<const char*>(value);
}

}  // namespace

TEST_CASE(version_fixed_part) {
    std::vector<char> block = version_block();
    CHECK(!block.empty());
    if (block.empty()) return;
    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT length = 0;
    CHECK(VerQueryValueA(block.data(), "\\", reinterpret_cast<void**>(&fixed), &length));
    if (!fixed) return;
    CHECK_EQ(fixed->dwSignature, DWORD(0xFEEF04BD));
    CHECK_EQ(fixed->dwFileVersionMS, DWORD(0x00030007));
    CHECK_EQ(fixed->dwFileVersionLS, DWORD(kBuild));
    CHECK_EQ(fixed->dwProductVersionMS, DWORD(0x00030007));
    CHECK_EQ(fixed->dwProductVersionLS, DWORD(kBuild));
    CHECK_EQ(fixed->dwFileType, DWORD(VFT_DLL));
}

TEST_CASE(version_strings) {
    std::vector<char> block = version_block();
    CHECK(!block.empty());
    if (block.empty()) return;
    const std::string expected = "3.7.0." + std::to_string(kBuild);
    CHECK_EQ(string_value(block, "FileVersion"), expected);
    CHECK_EQ(string_value(block, "ProductVersion"), expected);
}
