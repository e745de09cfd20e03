// SPDX-License-Identifier: GPL-2.0-or-later
#include "check.h"

#include <cstdio>
#include <vector>

namespace {

struct Case {
    const char* name;
    TestFunction function;
};

std::vector<Case>& cases() {
    static std::vector<Case> all;
    return all;
}

int g_failures = 0;

}  // namespace

TestRegistrar::TestRegistrar(const char* name, TestFunction function) { cases().push_back({name, function}); }

void report_failure(const char* file, int line, const std::string& what) {
    ++g_failures;
    std::printf("%s:%d: failed: %s\n", file, line, what.c_str());
    std::fflush(stdout);
}

int failure_count() { return g_failures; }

int run_cases(const std::string& name) {
    int ran = 0;
    int failed_cases = 0;
    for (const Case& c : cases()) {
        if (!name.empty() && name != c.name) continue;
        const int before = g_failures;
        c.function();
        const bool ok = g_failures == before;
        std::printf("%s %s\n", ok ? "ok" : "FAILED", c.name);
        std::fflush(stdout);
        ++ran;
        failed_cases += ok ? 0 : 1;
    }
    if (ran == 0) {
        std::printf("no case named '%s'\n", name.c_str());
        return 1;
    }
    if (name.empty()) std::printf("%d cases, %d failed\n", ran, failed_cases);
    std::fflush(stdout);
    return g_failures;
}

void list_cases() {
    for (const Case& c : cases()) std::printf("%s\n", c.name);
}
