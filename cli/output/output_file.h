// SPDX-License-Identifier: GPL-2.0-or-later
// Outputs are written under a temporary name beside their final place and
// renamed into it only when complete, so a failed or interrupted run leaves
// nothing: neither a partial file nor a changed old one.
#pragma once

#include <sys/types.h>

#include <optional>
#include <string>

namespace kelvra::cli {

// True when both paths name the same existing file (hard links included).
bool same_file(const std::string& a, const std::string& b);

// True when both paths lead to the same place, existing or not.
bool same_target(const std::string& a, const std::string& b);

// The checks made before anything is written: not a folder, not the input,
// not an existing file unless `force`.
bool check_output_path(const std::string& input, const std::string& output, bool force, std::string& error);

// The last part of a path: the file's name.
std::string name_of(const std::string& path);

// Makes the folder and those above it where missing.
bool make_folders(const std::string& path, std::string& error);

// The name an output is written under by process `pid` until it is complete.
std::string temporary_path(const std::string& path, pid_t pid);

class PendingOutput {
public:
    // Reserves the temporary file; fails when the folder is not writable.
    static std::optional<PendingOutput> create(const std::string& path, std::string& error);

    PendingOutput(PendingOutput&& other) noexcept;
    PendingOutput& operator=(PendingOutput&&) = delete;
    ~PendingOutput();

    const std::string& temp_path() const { return temp_; }

    // Moves the finished file into place. Without `replace` an existing file
    // is never overwritten, even one created since the checks.
    bool commit(bool replace, std::string& error);

private:
    PendingOutput(std::string path, std::string temp) : path_(std::move(path)), temp_(std::move(temp)) {}

    std::string path_, temp_;
    bool done_ = false;
};

}  // namespace kelvra::cli
