// SPDX-License-Identifier: GPL-2.0-or-later
#include "report/record_outputs.h"

#include <fstream>
#include <utility>

#include "report/plot.h"

namespace kelvra::cli {
namespace {

bool check_name(const Options& o, const std::string& option, const std::string& path,
                const std::vector<std::string>& taken, std::string& error) {
    for (const std::string& other : taken) {
        if (same_target(path, other)) {
            error = option + " \"" + path + "\" names a file this run already writes";
            return false;
        }
    }
    return check_output_path(o.input, path, o.force, error);
}

}  // namespace

std::optional<RecordOutputs> RecordOutputs::reserve(const Options& o, const std::vector<std::string>& taken,
                                                    std::string& error) {
    RecordOutputs out;
    out.sensitivity_ = o.cuts.sensitivity;
    std::vector<std::string> names = taken;
    if (!o.plot_path.empty()) {
        out.gnuplot_ = find_gnuplot(error);
        if (out.gnuplot_.empty() || !check_name(o, "--plot", o.plot_path, names, error)) return std::nullopt;
        names.push_back(o.plot_path);
    }
    if (!o.stats_path.empty() && !check_name(o, "--stats", o.stats_path, names, error)) return std::nullopt;
    if (!o.stats_path.empty()) {
        std::optional<PendingOutput> stats = PendingOutput::create(o.stats_path, error);
        if (!stats) return std::nullopt;
        out.stats_.emplace(std::move(*stats));
        out.stats_path_ = o.stats_path;
    }
    if (!o.plot_path.empty()) {
        std::optional<PendingOutput> plot = PendingOutput::create(o.plot_path, error);
        if (!plot) return std::nullopt;
        out.plot_.emplace(std::move(*plot));
    }
    return out;
}

bool RecordOutputs::write(const std::vector<FrameRecord>& records, const std::optional<FrameClock>& clock,
                          const std::string& title, std::string& error) const {
    if (stats_) {
        std::ofstream file(stats_->temp_path(), std::ios::binary | std::ios::trunc);
        file << stats_text(records, is_json_path(stats_path_), clock);
        file.close();
        if (!file) {
            error = "cannot write \"" + stats_path_ + "\"";
            return false;
        }
    }
    return !plot_ || write_plot(gnuplot_, records, title, sensitivity_, plot_->temp_path(), error);
}

bool RecordOutputs::commit(bool replace, std::string& error) {
    return (!stats_ || stats_->commit(replace, error)) && (!plot_ || plot_->commit(replace, error));
}

}  // namespace kelvra::cli
