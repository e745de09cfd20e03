// SPDX-License-Identifier: GPL-2.0-or-later
#include "levels/steady.h"

#include <algorithm>

namespace kelvra::cli {

void choose_steady_levels(std::vector<FrameRecord>& records, bool disable) {
    std::vector<int32_t> values;
    for (size_t first = 0; first < records.size();) {
        size_t last = first + 1;
        while (last < records.size() && !records[last].shot_start) ++last;
        Levels steady{{0, 0, 0, 255, 255, 255}};
        for (int i = 0; i < kLevels && !disable; ++i) {
            values.clear();
            for (size_t f = first; f < last; ++f) values.push_back(records[f].report.own.v[i]);
            const auto middle = values.begin() + (values.size() - 1) / 2;
            std::nth_element(values.begin(), middle, values.end());
            steady.v[i] = *middle;
        }
        for (size_t f = first; f < last; ++f) records[f].report.applied = steady;
        first = last;
    }
}

}  // namespace kelvra::cli
