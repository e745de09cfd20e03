// SPDX-License-Identifier: GPL-2.0-or-later
#include "report/batch_progress.h"

#include <cstdio>

namespace kelvra::cli {

BatchProgress::BatchProgress(bool enabled, size_t files) : files_(files), bar_(enabled, std::nullopt) {}

void BatchProgress::take(size_t file, const std::string& text) {
    File& f = files_[file];
    f.partial_line += text;
    for (size_t end; (end = f.partial_line.find('\n')) != std::string::npos;
         f.partial_line.erase(0, end + 1)) {
        long long done = 0, total = 0;
        if (std::sscanf(f.partial_line.c_str(), "%lld %lld", &done, &total) != 2) continue;
        if (done < f.done) f.earlier_passes += f.done;
        f.done = done;
        f.pass_total = total >= 0 ? std::optional<int64_t>(total) : std::nullopt;
    }
}

void BatchProgress::finished(size_t file) {
    files_[file].finished = true;
    ++finished_;
}

std::optional<int64_t> BatchProgress::File::expected() const {
    if (finished) return earlier_passes + done;
    if (!pass_total) return std::nullopt;
    return earlier_passes + *pass_total;
}

std::optional<int64_t> BatchProgress::frames_expected() const {
    int64_t known = 0;
    size_t known_files = 0;
    for (const File& f : files_) {
        if (const std::optional<int64_t> e = f.expected()) {
            known += *e;
            ++known_files;
        }
    }
    if (known_files == 0) return std::nullopt;
    return known + known / int64_t(known_files) * int64_t(files_.size() - known_files);
}

int64_t BatchProgress::frames_done() const {
    int64_t done = 0;
    for (const File& f : files_) done += f.earlier_passes + f.done;
    return done;
}

void BatchProgress::update() {
    retitle();
    bar_.update(frames_done());
}

void BatchProgress::finish() {
    retitle();
    bar_.finish(frames_done());
}

void BatchProgress::retitle() {
    bar_.set_total(frames_expected(),
                   std::to_string(finished_) + "/" + std::to_string(files_.size()) + " files  ");
}

}  // namespace kelvra::cli
