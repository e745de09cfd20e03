// SPDX-License-Identifier: GPL-2.0-or-later
#include "output/output_file.h"

#include <fcntl.h>
#include <stdio.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace kelvra::cli {
namespace {

std::string folder_of(const std::string& path) {
    const size_t slash = path.rfind('/');
    if (slash == std::string::npos) return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

}  // namespace

std::string name_of(const std::string& path) {
    const size_t slash = path.rfind('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

bool same_file(const std::string& a, const std::string& b) {
    struct stat sa, sb;
    return stat(a.c_str(), &sa) == 0 && stat(b.c_str(), &sb) == 0 && sa.st_dev == sb.st_dev &&
           sa.st_ino == sb.st_ino;
}

bool same_target(const std::string& a, const std::string& b) {
    if (same_file(a, b)) return true;
    return name_of(a) == name_of(b) && same_file(folder_of(a), folder_of(b));
}

bool check_output_path(const std::string& input, const std::string& output, bool force, std::string& error) {
    struct stat st;
    if (output.empty() || output.back() == '/' || (stat(output.c_str(), &st) == 0 && S_ISDIR(st.st_mode))) {
        error = "output \"" + output + "\" is a folder, not a file name";
        return false;
    }
    if (same_file(input, output)) {
        error = "output \"" + output + "\" is the input file; the input is never overwritten";
        return false;
    }
    if (!force && lstat(output.c_str(), &st) == 0) {
        error = "output \"" + output + "\" exists; use --force to replace it";
        return false;
    }
    return true;
}

bool make_folders(const std::string& path, std::string& error) {
    for (size_t slash = path.find('/', 1);; slash = path.find('/', slash + 1)) {
        const std::string part = path.substr(0, slash);
        if (mkdir(part.c_str(), 0777) != 0 && errno != EEXIST) {
            error = "cannot make folder \"" + part + "\": " + std::strerror(errno);
            return false;
        }
        if (slash == std::string::npos) return true;
    }
}

std::string temporary_path(const std::string& path, pid_t pid) {
    // The temporary name ends with the final one, so ffmpeg picks the same
    // container and encoder from its extension.
    return folder_of(path) + "/.kelvra-" + std::to_string(pid) + "-" + name_of(path);
}

std::optional<PendingOutput> PendingOutput::create(const std::string& path, std::string& error) {
    const std::string folder = folder_of(path);
    const std::string temp = temporary_path(path, getpid());
    const int fd = open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd < 0) {
        error = "cannot write in folder \"" + folder + "\": " + std::strerror(errno);
        return std::nullopt;
    }
    close(fd);
    return PendingOutput(path, temp);
}

PendingOutput::PendingOutput(PendingOutput&& other) noexcept
    : path_(std::move(other.path_)), temp_(std::move(other.temp_)), done_(other.done_) {
    other.done_ = true;
}

PendingOutput::~PendingOutput() {
    if (!done_) unlink(temp_.c_str());
}

bool PendingOutput::commit(bool replace, std::string& error) {
    int rc = replace ? rename(temp_.c_str(), path_.c_str())
                     : renameat2(AT_FDCWD, temp_.c_str(), AT_FDCWD, path_.c_str(), RENAME_NOREPLACE);
    if (rc != 0 && !replace && errno == EINVAL) {
        // A file system without RENAME_NOREPLACE: check, then rename.
        struct stat st;
        rc = lstat(path_.c_str(), &st) == 0 ? (errno = EEXIST, -1) : rename(temp_.c_str(), path_.c_str());
    }
    if (rc != 0) {
        error = errno == EEXIST
                    ? "output \"" + path_ + "\" appeared while kelvra ran; use --force to replace it"
                    : "cannot rename the finished output to \"" + path_ + "\": " + std::strerror(errno);
        return false;
    }
    done_ = true;
    return true;
}

}  // namespace kelvra::cli
