// SPDX-License-Identifier: GPL-2.0-or-later
// Starting ffmpeg and ffprobe without a shell: argument vectors go to
// posix_spawn as they are, so file names are never parsed as code.
#pragma once

#include <sys/types.h>

#include <optional>
#include <string>
#include <vector>

namespace kelvra::cli {

// The full path of `name` on PATH, or empty.
std::string find_program(const std::string& name);

// A file descriptor closed when the holder goes away.
class Fd {
public:
    Fd() = default;
    explicit Fd(int fd) : fd_(fd) {}
    Fd(Fd&& other) noexcept : fd_(other.release()) {}
    Fd& operator=(Fd&& other) noexcept;
    ~Fd() { reset(); }
    int get() const { return fd_; }
    int release();
    void reset();

private:
    int fd_ = -1;
};

struct Pipe {
    Fd read, write;
};
std::optional<Pipe> make_pipe(std::string& error);
// Lets a pipe hold a megabyte where the system allows, so frames cross it in
// a few large copies instead of many small ones.
void widen_pipe(int fd);

// An anonymous file that collects a child's standard error.
Fd make_log_file();
// Everything a child wrote to its log.
std::string read_log(int log_fd);
// What a child wrote to its log, as one line: the first message and, when
// there are more, the last.
std::string log_summary(int log_fd);

// A running child. Destroying one that was not waited for kills it, so an
// error or an interruption never leaves ffmpeg behind.
class Child {
public:
    Child() = default;
    explicit Child(pid_t pid) : pid_(pid) {}
    Child(Child&& other) noexcept : pid_(other.pid_) { other.pid_ = -1; }
    ~Child();
    // Exit status, or 128 + signal number.
    int wait();

private:
    pid_t pid_ = -1;
};

// Standard streams of a child: -1 means /dev/null.
struct Stdio {
    int in = -1, out = -1, err = -1;
};

std::optional<Child> spawn(const std::vector<std::string>& argv, const Stdio& stdio, std::string& error);

// Runs a program to its end and returns its standard output; on failure says
// why (its last line of standard error) in `error`.
std::optional<std::string> run_capture(const std::vector<std::string>& argv, std::string& error);

}  // namespace kelvra::cli
