// SPDX-License-Identifier: GPL-2.0-or-later
#include "levels/cut_lists.h"

#include <set>

namespace kelvra::cli {

std::optional<std::string> cuts_beyond_warning(const CutRules& rules, int64_t frames) {
    std::string beyond;
    for (const std::set<int64_t>* list : {&rules.cut_at, &rules.no_cut_at}) {
        for (auto it = list->upper_bound(frames); it != list->end(); ++it) {
            if (!beyond.empty()) beyond += ',';
            beyond += std::to_string(*it);
        }
    }
    if (beyond.empty()) return std::nullopt;
    return "--cut-at/--no-cut-at frame " + beyond + ": the input has only " + std::to_string(frames) +
           " frames";
}

}  // namespace kelvra::cli
