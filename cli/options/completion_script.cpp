// SPDX-License-Identifier: GPL-2.0-or-later
#include "options/completion_script.h"

#include <map>
#include <string>
#include <vector>

#include "options/option_table.h"

namespace kelvra::cli {
namespace {

// How the word after an option completes: "_filedir", "_filedir png" for a
// value named FILE.png, "_filedir -d" for a DIR, or "" for a value to type.
std::string value_completion(const OptionRow& row) {
    const std::string value = row.value;
    if (value == "DIR") return "_filedir -d";
    if (value.rfind("FILE", 0) != 0) return "";
    return value.size() > 5 && value[4] == '.' ? "_filedir " + value.substr(5) : "_filedir";
}

std::string joined(const std::vector<std::string>& names, const char* separator) {
    std::string text;
    for (const std::string& name : names) text += (text.empty() ? "" : separator) + name;
    return text;
}

}  // namespace

std::string completion_script() {
    std::vector<std::string> offered, ends_options;
    std::map<std::string, std::vector<std::string>> by_value;  // completion -> options
    for (const OptionRow& row : option_table()) {
        if (row.takes == Takes::kEndOfOptions || row.takes == Takes::kArgumentsUpToEnd)
            ends_options.push_back(row.name);
        if (row.takes == Takes::kValue) by_value[value_completion(row)].push_back(row.name);
        if (row.takes == Takes::kEndOfOptions) continue;
        offered.push_back(row.name);
        if (row.alias) offered.push_back(row.alias);
    }
    std::string cases;
    for (const auto& [completion, names] : by_value) {
        cases += "        " + joined(names, "|") + ") " + (completion.empty() ? "" : completion + "; ") +
                 "return ;;\n";
    }
    return "# bash completion for kelvra, written from its option table when kelvra was built.\n"
           "_kelvra() {\n"
           "    local cur prev words cword split word\n"
           "    _init_completion -s || return\n"
           "    # Past these the words are file names or ffmpeg's own arguments.\n"
           "    for word in \"${words[@]:1:cword-1}\"; do\n"
           "        case $word in\n"
           "            " +
           joined(ends_options, "|") +
           ") _filedir; return ;;\n"
           "        esac\n"
           "    done\n"
           "    case $prev in\n" +
           cases +
           "    esac\n"
           "    $split && return\n"
           "    if [[ $cur == -* ]]; then\n"
           "        COMPREPLY=($(compgen -W '" +
           joined(offered, " ") +
           "' -- \"$cur\"))\n"
           "        return\n"
           "    fi\n"
           "    _filedir\n"
           "    if ((cword == 1)); then COMPREPLY+=($(compgen -W demo -- \"$cur\")); fi\n"
           "}\n"
           "complete -F _kelvra kelvra\n";
}

}  // namespace kelvra::cli
