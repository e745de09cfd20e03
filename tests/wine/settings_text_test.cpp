// SPDX-License-Identifier: GPL-2.0-or-later
// The summary, the script line and the script method Config, driven through
// the definition and the script object as the editor and a frame server do.
#include <climits>
#include <cstring>
#include <string>

#include "check.h"
#include "plugin_host.h"

namespace {

struct Seven {
    int level, soft, border, nup, nleft, nright, ndown;
};

void store(kelvra::FilterData& fd, const Seven& s) {
    fd.level = s.level;
    fd.soft = s.soft;
    fd.border = s.border;
    fd.nup = s.nup;
    fd.nleft = s.nleft;
    fd.nright = s.nright;
    fd.ndown = s.ndown;
}

bool holds(const kelvra::FilterData& fd, const Seven& s) {
    return fd.level == s.level && fd.soft == s.soft && fd.border == s.border && fd.nup == s.nup &&
           fd.nleft == s.nleft && fd.nright == s.nright && fd.ndown == s.ndown;
}

std::string script_line(Instance& inst) {
    char buffer[256];
    CHECK(inst.script_line(buffer, sizeof buffer));
    return buffer;
}

// Script arguments as a frame server passes them: tagged T_LONG, with the
// value sign-extended through the union.
void call_config(Instance& inst, const Seven& s, VDXScriptType tag) {
    const int v[7] = {s.level, s.soft, s.border, s.nup, s.nleft, s.nright, s.ndown};
    VDXScriptValue args[7] = {};
    for (int i = 0; i < 7; ++i) {
        args[i].type = tag;
        if (tag == T_LONG)
            args[i].u.l = v[i];
        else
            args[i].u.i = v[i];
    }
    inst.call_config(args, 7);
}

// A line back into its seven values, as the host's script reader would.
Seven parse_line(const std::string& line) {
    Seven s{};
    std::sscanf(line.c_str(), "Config(%d,%d,%d,%d,%d,%d,%d)", &s.level, &s.soft, &s.border, &s.nup, &s.nleft,
                &s.nright, &s.ndown);
    return s;
}

}  // namespace

TEST_CASE(text_of_a_fresh_record) {
    Instance inst;
    inst.set_size(720, 576);
    inst.init();
    const std::string summary = inst.summary();
    CHECK_EQ(summary, " (level 25, mode 0, border 0, NUP 1, NLEFT 1, NRIGHT 1, NDOWN 1)");
    CHECK_EQ(summary.size(), size_t(64));
    CHECK_EQ(script_line(inst), "Config(25,0,0,1,1,1,1)");
}

TEST_CASE(text_of_level_500_soft_border_and_offsets) {
    Instance inst;
    inst.init();
    store(inst.record(), {500, 1, 1, 20, 30, 30, 20});
    CHECK_EQ(inst.summary(), " (level 500, mode 1, border 1, NUP 20, NLEFT 30, NRIGHT 30, NDOWN 20)");
    CHECK_EQ(script_line(inst), "Config(500,1,1,20,30,30,20)");
}

TEST_CASE(text_of_negative_and_extreme_values) {
    Instance inst;
    inst.init();
    store(inst.record(), {-7, -1, 0, INT_MIN, -30, INT_MAX, -2});
    CHECK_EQ(inst.summary(),
             " (level -7, mode -1, border 0, NUP -2147483648, NLEFT -30, NRIGHT 2147483647, NDOWN -2)");
    CHECK_EQ(script_line(inst), "Config(-7,-1,0,-2147483648,-30,2147483647,-2)");
    store(inst.record(), {INT_MIN, INT_MIN, INT_MIN, INT_MIN, INT_MIN, INT_MIN, INT_MIN});
    const std::string longest = inst.summary();
    CHECK_EQ(longest.size(), size_t(133));
    CHECK_EQ(script_line(inst).size(), size_t(91));
}

TEST_CASE(text_summary_stays_within_134_bytes) {
    Instance inst;
    inst.init();
    store(inst.record(), {INT_MIN, INT_MIN, INT_MIN, INT_MIN, INT_MIN, INT_MIN, INT_MIN});
    char buffer[200];
    std::memset(buffer, '#', sizeof buffer);
    plugin().definition().stringProc(&inst.activation, &plugin().functions, buffer);
    CHECK_EQ(buffer[133], '\0');
    for (int i = 134; i < 200; ++i) CHECK_EQ(buffer[i], '#');
}

TEST_CASE(text_script_line_into_small_buffers) {
    Instance inst;
    inst.init();
    const std::string full = "Config(25,0,0,1,1,1,1)";
    for (int size : {1, 2, 5, 21, 22, 23, 40}) {
        char buffer[64];
        std::memset(buffer, '#', sizeof buffer);
        CHECK(inst.script_line(buffer, size));
        const size_t kept = std::min<size_t>(full.size(), size - 1);
        CHECK_EQ(std::string(buffer), full.substr(0, kept));
        for (int i = size; i < 64; ++i) CHECK_EQ(buffer[i], '#');
    }
    for (int size : {0, -1, INT_MIN}) {
        char buffer[8];
        std::memset(buffer, '#', sizeof buffer);
        CHECK(inst.script_line(buffer, size));
        for (char c : buffer) CHECK_EQ(c, '#');
    }
}

TEST_CASE(script_config_restores_a_fresh_line_and_nothing_else) {
    Instance inst;
    inst.set_size(720, 576);
    inst.init();
    kelvra::FilterData& fd = inst.record();
    store(fd, {300, 1, 1, 40, 50, 60, 70});
    fd.disable = 1;
    fd.freeze = 1;
    fd.show_histogram = 1;
    fd.history[4][2] = 99;
    fd.current[1] = 12;
    fd.saved_level = 8;
    fd.saved_ndown = 9;
    const kelvra::FilterData before = fd;
    call_config(inst, parse_line("Config(25,0,0,1,1,1,1)"), T_INT);
    CHECK(holds(fd, {25, 0, 0, 1, 1, 1, 1}));
    kelvra::FilterData expected = before;
    store(expected, {25, 0, 0, 1, 1, 1, 1});
    CHECK(std::memcmp(&expected, &fd, sizeof fd) == 0);
}

TEST_CASE(script_line_round_trip_to_another_instance) {
    Instance a, b;
    a.init();
    b.init();
    const Seven settings[] = {
        {500, 1, 1, 20, 30, 30, 20}, {-3, 2, -1, 0, -8, INT_MAX, INT_MIN}, {1, 0, 1, 5, 5, 5, 5}};
    for (const Seven& s : settings) {
        store(a.record(), s);
        for (VDXScriptType tag : {T_INT, T_LONG}) {
            b.init();
            call_config(b, parse_line(script_line(a)), tag);
            CHECK(holds(b.record(), s));
            CHECK_EQ(script_line(b), script_line(a));
            CHECK_EQ(b.summary(), a.summary());
        }
    }
}

TEST_CASE(script_config_ignores_a_short_call) {
    Instance inst;
    inst.init();
    VDXScriptValue args[6] = {};
    for (VDXScriptValue& v : args) {
        v.type = T_INT;
        v.u.i = 9;
    }
    inst.call_config(args, 6);
    inst.call_config(args, 0);
    CHECK_EQ(script_line(inst), "Config(25,0,0,1,1,1,1)");
}
