// SPDX-License-Identifier: GPL-2.0-or-later
// The compiled dialog template read back from the DLL's resources and
// compared with the layout table: an extended template, language 1033, every
// control with its class stored as a name.
#include <string>
#include <vector>

#include "check.h"
#include "dialog_ids.h"
#include "plugin_host.h"

namespace {

struct Control {
    int id;
    std::string class_name;
    std::string text;
    DWORD style;
    int x, y, cx, cy;
};

const Control kControls[] = {
    {1001, "MSCTLS_TRACKBAR32", "", 0x50000105, 54, 7, 150, 24},
    {1015, "BUTTON", "Show preview", 0x50010000, 10, 249, 60, 17},
    {1016, "BUTTON", "Ok", 0x50010000, 98, 249, 44, 17},
    {1017, "BUTTON", "Cancel", 0x50010000, 158, 249, 44, 17},
    {1002, "STATIC", "Level", 0x50000201, 6, 11, 44, 17},
    {1004, "BUTTON", "", 0x50000007, 4, 1, 204, 33},
    {1006, "BUTTON", "Disable", 0x50010003, 116, 68, 38, 15},
    {1008, "BUTTON", "Border", 0x50010003, 14, 68, 40, 15},
    {1009, "BUTTON", "Show gistogramm", 0x50010003, 116, 44, 78, 15},
    {1007, "BUTTON", "", 0x50000007, 4, 35, 100, 54},
    {1010, "BUTTON", "Soft", 0x50010003, 14, 44, 38, 15},
    {1003, "BUTTON", "", 0x50000007, 106, 35, 102, 54},
    {1005, "BUTTON", "", 0x50000007, 4, 90, 204, 24},
    {1018, "BUTTON", "Freeze", 0x50010003, 14, 99, 88, 9},
    {1, "BUTTON", "Border", 0x50000007, 4, 123, 204, 118},
    {1019, "MSCTLS_TRACKBAR32", "", 0x50000105, 54, 134, 150, 24},
    {1020, "MSCTLS_TRACKBAR32", "", 0x50000105, 54, 160, 150, 24},
    {1021, "MSCTLS_TRACKBAR32", "", 0x50000105, 54, 184, 150, 24},
    {1022, "MSCTLS_TRACKBAR32", "", 0x50000105, 54, 210, 150, 24},
    {6, "STATIC", "UP", 0x50000000, 8, 144, 30, 11},
    {7, "STATIC", "LEFT", 0x50000000, 8, 168, 30, 11},
    {8, "STATIC", "RIGHT", 0x50000000, 8, 192, 30, 11},
    {9, "STATIC", "DOWN", 0x50000000, 8, 216, 30, 11},
};

// Reads the template's little-endian fields in order.
class Reader {
public:
    Reader(const unsigned char* data, size_t size) : data_(data), size_(size) {}
    bool ok() const { return ok_; }
    unsigned word() { return take(2) ? data_[at_ - 2] | data_[at_ - 1] << 8 : 0; }
    DWORD dword() {
        const unsigned low = word();
        return low | DWORD(word()) << 16;
    }
    int16_t short_value() { return int16_t(word()); }
    unsigned char byte() { return take(1) ? data_[at_ - 1] : 0; }
    // A name, or "#n" for an ordinal (0xFFFF n).
    std::string name() {
        std::string s;
        unsigned c = word();
        if (c == 0xFFFF) return s.append(1, '#').append(std::to_string(word()));
        for (; c != 0 && ok_; c = word()) s += char(c);
        return s;
    }
    void align4() {
        while (at_ % 4) byte();
    }

private:
    bool take(size_t n) {
        ok_ = ok_ && at_ + n <= size_;
        if (ok_) at_ += n;
        return ok_;
    }
    const unsigned char* data_;
    size_t size_;
    size_t at_ = 0;
    bool ok_ = true;
};

}  // namespace

TEST_CASE(dialog_template_matches_the_layout) {
    const HMODULE module = plugin().module;
    const HRSRC found = FindResourceExA(module, MAKEINTRESOURCEA(5), MAKEINTRESOURCEA(IDD_SETTINGS),
                                        MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_US));
    CHECK(found != nullptr);
    if (!found) return;
    Reader r(static_cast<const unsigned char*>(LockResource(LoadResource(module, found))),
             SizeofResource(module, found));
    CHECK_EQ(r.word(), 1u);         // extended template, version 1
    CHECK_EQ(r.word(), 0xFFFFu);    // its signature
    CHECK_EQ(r.dword(), DWORD(0));  // help id
    CHECK_EQ(r.dword(), DWORD(0));  // extended style
    CHECK_EQ(r.dword(), DWORD(0x90CC0040));
    CHECK_EQ(r.word(), 23u);
    CHECK(r.short_value() == 6 && r.short_value() == 5 && r.short_value() == 214 && r.short_value() == 272);
    CHECK_EQ(r.name(), "");  // no menu
    CHECK_EQ(r.name(), "");  // no window class
    CHECK_EQ(r.name(), "Setting");
    CHECK_EQ(r.word(), 8u);            // points
    CHECK_EQ(r.word(), 0u);            // weight
    CHECK_EQ(unsigned(r.byte()), 0u);  // not italic
    CHECK_EQ(unsigned(r.byte()), 1u);  // character set
    CHECK_EQ(r.name(), "MS Sans Serif");
    for (const Control& c : kControls) {
        r.align4();
        CHECK_EQ(r.dword(), DWORD(0));  // help id
        CHECK_EQ(r.dword(), DWORD(0));  // extended style
        CHECK_EQ(r.dword(), c.style);
        const int x = r.short_value(), y = r.short_value(), cx = r.short_value(), cy = r.short_value();
        CHECK(x == c.x && y == c.y && cx == c.cx && cy == c.cy);
        CHECK_EQ(int(r.dword()), c.id);
        CHECK_EQ(r.name(), c.class_name);
        CHECK_EQ(r.name(), c.text);
        CHECK_EQ(r.word(), 0u);  // no creation data
    }
    CHECK(r.ok());
}
