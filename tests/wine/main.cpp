// SPDX-License-Identifier: GPL-2.0-or-later
// The Windows test host: loads kelvra.vdf from its own folder and drives it
// as the editor does. A further mode (a timing run, say) is a function in a
// file of its own and one line in kModes. Several modes run in order in one
// process (`--all --digest`): under emulation every wine start costs a minute.
#include <cstdio>
#include <cstring>

#include "check.h"
#include "frame_digest.h"
#include "show_dialog.h"

namespace {

int list(const char*) {
    list_cases();
    return 0;
}

int run_one(const char* name) { return name && run_cases(name) == 0 ? 0 : 1; }

int run_all(const char*) { return run_cases("") == 0 ? 0 : 1; }

int print_digest(const char*) {
    std::printf("digest %016llx\n", static_cast<unsigned long long>(frame_digest()));
    std::fflush(stdout);
    return 0;
}

struct Mode {
    const char* flag;
    const char* help;
    int (*run)(const char* argument);  // the next argument unless it is a flag, else null
};

constexpr Mode kModes[] = {
    {"--list", "names of the test cases", list},
    {"--case", "NAME: runs one case (ctest runs each on its own)", run_one},
    {"--all", "runs every case, ok or FAILED by name", run_all},
    {"--digest", "digest of the output of a fixed frame sequence", print_digest},
    {"--show-dialog", "[MS]: opens the settings dialog for MS milliseconds", show_dialog},
};

int usage() {
    std::printf("usage: kelvra_wine_tests MODE [MODE...]\n");
    for (const Mode& mode : kModes) std::printf("  %-10s %s\n", mode.flag, mode.help);
    return 2;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) return usage();
    int status = 0;
    for (int i = 1; i < argc; ++i) {
        const Mode* mode = nullptr;
        for (const Mode& m : kModes)
            if (std::strcmp(argv[i], m.flag) == 0) mode = &m;
        if (!mode) return usage();
        const char* argument = i + 1 < argc && argv[i + 1][0] != '-' ? argv[++i] : nullptr;
        if (mode->run(argument) != 0) status = 1;
    }
    return status;
}
