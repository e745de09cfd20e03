// SPDX-License-Identifier: GPL-2.0-or-later
// Every option of the command line in one row: its names, the value it
// takes, the rule that value must follow and its help text. The parser,
// --help, the manual page and the shell completion all read these rows.
#pragma once

#include <string>
#include <vector>

#include "options/options.h"

namespace kelvra::cli {

enum class Section { kSettings, kShots, kOutput, kRun };

enum class Takes {
    kNothing,
    kValue,             // the next argument, or --name=VALUE
    kOptionalValue,     // only as --name=VALUE
    kArgumentsUpToEnd,  // every later argument up to a lone -- or the end
    kEndOfOptions,      // later arguments are names
};

struct OptionRow {
    Section section;
    const char* name;
    const char* alias;  // a short form, or nullptr
    Takes takes;
    const char* value;     // the value's name in --help
    const char* expected;  // what a refused value should have been; nullptr: any text
    // Stores the value: nullptr for a switch or an optional value not given.
    // False refuses it: for `why` when that is set, otherwise as not what
    // `expected` says.
    bool (*apply)(Options& options, const char* value, std::string& why);
    const char* help;
};

const std::vector<OptionRow>& option_table();

// The row that names `name` (long name or alias), or nullptr.
const OptionRow* find_option(const std::string& name);

}  // namespace kelvra::cli
