// SPDX-License-Identifier: GPL-2.0-or-later
// Writes kelvra's bash completion to the file named on its command line; run
// by the build.
#include <cstdio>

#include "options/completion_script.h"

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fputs("usage: write_completion FILE\n", stderr);
        return 2;
    }
    std::FILE* out = std::fopen(argv[1], "w");
    const std::string script = kelvra::cli::completion_script();
    if (!out || std::fputs(script.c_str(), out) < 0 || std::fclose(out) != 0) {
        std::perror(argv[1]);
        return 1;
    }
    return 0;
}
