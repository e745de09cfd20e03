// SPDX-License-Identifier: GPL-2.0-or-later
#include "ratio_table.h"

#include <algorithm>
#include <cstdio>
#include <string>

RatioTable::RatioTable(std::vector<std::string> columns)
    : ConsoleReporter(OO_None), columns_(std::move(columns)) {}

void RatioTable::ReportRuns(const std::vector<Run>& runs) {
    ConsoleReporter::ReportRuns(runs);
    for (const Run& run : runs) {
        if (run.error_occurred) continue;
        const std::string& name = run.run_name.function_name;
        const std::string size = name.substr(name.rfind('/') + 1);
        if (std::find(sizes_.begin(), sizes_.end(), size) == sizes_.end()) sizes_.push_back(size);
        // Processor time: the machine may be shared, and the pass runs on one
        // thread.
        const double ms = run.cpu_accumulated_time / static_cast<double>(run.iterations) * 1e3;
        if (run.run_type == Run::RT_Iteration) times_ms_[name].push_back(ms);
        if (run.run_type == Run::RT_Aggregate && run.aggregate_name == "median") medians_ms_[name] = ms;
    }
}

double RatioTable::median_ms(const std::string& name) const {
    if (auto median = medians_ms_.find(name); median != medians_ms_.end()) return median->second;
    auto it = times_ms_.find(name);
    if (it == times_ms_.end() || it->second.empty()) return 0.0;
    std::vector<double> t = it->second;
    std::sort(t.begin(), t.end());
    const size_t n = t.size();
    return n % 2 ? t[n / 2] : (t[n / 2 - 1] + t[n / 2]) / 2;
}

namespace {

// "WxH" as its pixel count, for listing sizes smallest first.
long long pixels(const std::string& size) {
    const size_t x = size.find('x');
    return std::stoll(size.substr(0, x)) * std::stoll(size.substr(x + 1));
}

}  // namespace

void RatioTable::Finalize() {
    ConsoleReporter::Finalize();
    std::sort(sizes_.begin(), sizes_.end(),
              [](const std::string& a, const std::string& b) { return pixels(a) < pixels(b); });
    std::printf("\nMedian time per frame, ms\n\n| frame |");
    for (const std::string& c : columns_) std::printf(" %s |", c.c_str());
    std::printf("\n|---|");
    for (size_t i = 0; i < columns_.size(); ++i) std::printf("---|");
    for (const std::string& size : sizes_) {
        std::printf("\n| %s |", size.c_str());
        for (const std::string& c : columns_) std::printf(" %.3f |", median_ms(c + "/" + size));
    }
    std::printf("\n\nRatio to the floor kernel\n\n| frame |");
    for (size_t i = 1; i < columns_.size(); ++i) std::printf(" %s |", columns_[i].c_str());
    std::printf("\n|---|");
    for (size_t i = 1; i < columns_.size(); ++i) std::printf("---|");
    for (const std::string& size : sizes_) {
        const double floor_ms = median_ms(columns_[0] + "/" + size);
        std::printf("\n| %s |", size.c_str());
        for (size_t i = 1; i < columns_.size(); ++i) {
            const double ms = median_ms(columns_[i] + "/" + size);
            if (ms > 0 && floor_ms > 0)
                std::printf(" %.2f |", ms / floor_ms);
            else
                std::printf(" - |");
        }
    }
    std::printf("\n");
    std::fflush(stdout);
}
