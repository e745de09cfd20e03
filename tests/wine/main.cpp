// The Windows test host: loads kelvra.vdf from its own folder and drives it
// as the editor does. A further mode (a timing run, say) is a function in a
// file of its own and one line in kModes.
#include <cstdio>
#include <cstring>
#include <string>

#include "check.h"
#include "frame_digest.h"
#include "show_dialog.h"

namespace {

int list(int, char**) {
    list_cases();
    return 0;
}

int run_one(int argc, char** argv) { return argc > 2 && run_cases(argv[2]) == 0 ? 0 : 1; }

int run_all(int, char**) { return run_cases("") == 0 ? 0 : 1; }

int print_digest(int, char**) {
    std::printf("%016llx\n", static_cast<unsigned long long>(frame_digest()));
    return 0;
}

struct Mode {
    const char* flag;
    const char* help;
    int (*run)(int argc, char** argv);
};

constexpr Mode kModes[] = {
    {"--list", "names of the test cases", list},
    {"--case", "NAME: runs one case (ctest runs each on its own)", run_one},
    {"--all", "runs every case", run_all},
    {"--digest", "digest of the output of a fixed frame sequence", print_digest},
    {"--show-dialog", "[MS]: opens the settings dialog for MS milliseconds", show_dialog},
};

}  // namespace

int main(int argc, char** argv) {
    if (argc > 1)
        for (const Mode& mode : kModes)
            if (std::strcmp(argv[1], mode.flag) == 0) return mode.run(argc, argv);
    std::printf("usage: kelvra_wine_tests MODE\n");
    for (const Mode& mode : kModes) std::printf("  %-10s %s\n", mode.flag, mode.help);
    return 2;
}
