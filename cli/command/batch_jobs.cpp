// SPDX-License-Identifier: GPL-2.0-or-later
#include "command/batch_jobs.h"

#include <map>

#include "output/output_file.h"

namespace kelvra::cli {
namespace {

std::string stem_of(const std::string& path) {
    const std::string name = name_of(path);
    const size_t dot = name.rfind('.');
    return dot == std::string::npos || dot == 0 ? name : name.substr(0, dot);
}

// --stats levels.csv for holiday.mp4: levels.csv's folder, or the out
// folder when it names none, and holiday-levels.csv in it.
std::string report_path(const std::string& given, const std::string& input, const std::string& out_dir) {
    if (given.empty()) return given;
    const size_t slash = given.rfind('/');
    const std::string folder = slash == std::string::npos ? out_dir : given.substr(0, slash);
    return folder + "/" + stem_of(input) + "-" + name_of(given);
}

}  // namespace

std::vector<std::string> job_outputs(const Options& job) {
    std::vector<std::string> outputs = {job.output};
    for (const std::string* report : {&job.compare_path, &job.stats_path, &job.plot_path})
        if (!report->empty()) outputs.push_back(*report);
    return outputs;
}

std::optional<std::vector<Options>> batch_jobs(const Options& batch, std::string& error) {
    std::vector<Options> jobs;
    std::map<std::string, std::string> writer;  // output -> the input that writes it
    for (const std::string& input : batch.inputs) {
        Options job = batch;
        job.mode = Options::Mode::kFile;
        job.inputs.clear();
        job.input = input;
        const std::string name =
            batch.out_extension.empty() ? name_of(input) : stem_of(input) + "." + batch.out_extension;
        job.output = batch.out_dir + "/" + name;
        job.stats_path = report_path(batch.stats_path, input, batch.out_dir);
        job.plot_path = report_path(batch.plot_path, input, batch.out_dir);
        job.compare_path = report_path(batch.compare_path, input, batch.out_dir);
        for (const std::string& output : job_outputs(job)) {
            const auto [at, fresh] = writer.emplace(output, input);
            if (!fresh) {
                error = "\"" + at->second + "\" and \"" + input + "\" would both write \"" + output + "\"";
                return std::nullopt;
            }
        }
        jobs.push_back(std::move(job));
    }
    return jobs;
}

}  // namespace kelvra::cli
