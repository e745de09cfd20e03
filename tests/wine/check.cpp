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
    for (const Case& c : cases()) {
        if (!name.empty() && name != c.name) continue;
        const int before = g_failures;
        c.function();
        std::printf("%s %s\n", g_failures == before ? "ok  " : "FAIL", c.name);
        ++ran;
    }
    if (ran == 0) {
        std::printf("no case named '%s'\n", name.c_str());
        return 1;
    }
    std::fflush(stdout);
    return g_failures;
}

void list_cases() {
    for (const Case& c : cases()) std::printf("%s\n", c.name);
}
