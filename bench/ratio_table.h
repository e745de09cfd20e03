// SPDX-License-Identifier: GPL-2.0-or-later
// A console reporter that also keeps each benchmark's processor time per
// frame (the median over repetitions when there are several) and, at the
// end, prints one table in milliseconds and one as ratios to the floor
// kernel of the same frame size.
#pragma once

#include <benchmark/benchmark.h>

#include <map>
#include <string>
#include <vector>

class RatioTable : public benchmark::ConsoleReporter {
public:
    // Benchmark names are "<kind>/<W>x<H>"; `columns` lists the kinds in
    // table order, the first one being the floor.
    explicit RatioTable(std::vector<std::string> columns);

    void ReportRuns(const std::vector<Run>& runs) override;
    void Finalize() override;

private:
    std::vector<std::string> columns_;
    std::map<std::string, std::vector<double>> times_ms_;  // by benchmark name
    std::map<std::string, double> medians_ms_;
    std::vector<std::string> sizes_;  // in order of appearance

    double median_ms(const std::string& name) const;
};
