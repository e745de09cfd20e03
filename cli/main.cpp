// SPDX-License-Identifier: GPL-2.0-or-later
// kelvra: the white-balance and levels correction of the plug-in, for video
// files, images and raw frame pipes.
#include <cstdio>
#include <string>
#include <vector>

#include "command/run.h"
#include "options/help_text.h"
#include "options/options.h"
#include "process/interrupt.h"

using namespace kelvra::cli;

int main(int argc, char** argv) {
    std::string error;
    const std::optional<Options> options =
        parse_arguments(std::vector<std::string>(argv + 1, argv + argc), error);
    if (!options) {
        report_error(error);
        return 2;
    }
    switch (options->mode) {
        case Options::Mode::kHelp:
            std::fputs(help_text().c_str(), stdout);
            return 0;
        case Options::Mode::kVersion:
            std::puts("kelvra " KELVRA_VERSION);
            return 0;
        default:
            break;
    }
    install_interrupt_handlers();
    Outcome outcome;
    if (options->mode == Options::Mode::kRaw) {
        outcome = run_raw(*options);
    } else if (options->mode == Options::Mode::kDemo) {
        outcome = run_demo(*options);
    } else if (options->mode == Options::Mode::kBatch) {
        outcome = run_batch(*options);
    } else {
        outcome = run_file(*options);
    }
    if (outcome.status != 0) report_error(outcome.error);
    return outcome.status;
}
