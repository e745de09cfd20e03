// SPDX-License-Identifier: GPL-2.0-or-later
// A small test harness for the Windows test host (no GoogleTest in the cross
// toolchain): named cases, checks that report and carry on, one process per
// case under ctest.
#pragma once

#include <cstdint>
#include <sstream>
#include <string>

using TestFunction = void (*)();

struct TestRegistrar {
    TestRegistrar(const char* name, TestFunction function);
};

#define TEST_CASE(name)                                       \
    static void name();                                       \
    static const TestRegistrar name##_registrar(#name, name); \
    static void name()

void report_failure(const char* file, int line, const std::string& what);
int failure_count();

template <typename A, typename B>
bool check_equal(const A& actual, const B& expected, const char* actual_text, const char* expected_text,
                 const char* file, int line) {
    if (actual == expected) return true;
    std::ostringstream out;
    out << actual_text << " == " << expected_text << "\n    actual:   " << actual
        << "\n    expected: " << expected;
    report_failure(file, line, out.str());
    return false;
}

#define CHECK(condition) \
    ((condition) ? true : (report_failure(__FILE__, __LINE__, "CHECK(" #condition ")"), false))
#define CHECK_EQ(actual, expected) check_equal((actual), (expected), #actual, #expected, __FILE__, __LINE__)

// Runs the named case, or every case when `name` is empty; returns the number
// of failed checks.
int run_cases(const std::string& name);
void list_cases();
