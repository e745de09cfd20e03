// SPDX-License-Identifier: GPL-2.0-or-later
#include "process/process.h"

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <initializer_list>

#include "process/interrupt.h"

extern char** environ;

namespace kelvra::cli {

std::string find_program(const std::string& name) {
    const char* path = std::getenv("PATH");
    std::string dirs = path ? path : "/usr/bin:/bin";
    size_t start = 0;
    while (start <= dirs.size()) {
        size_t end = dirs.find(':', start);
        if (end == std::string::npos) end = dirs.size();
        const std::string dir = end > start ? dirs.substr(start, end - start) : ".";
        const std::string candidate = dir + "/" + name;
        struct stat st;
        if (stat(candidate.c_str(), &st) == 0 && S_ISREG(st.st_mode) &&
            access(candidate.c_str(), X_OK) == 0) {
            return candidate;
        }
        start = end + 1;
    }
    return {};
}

Fd& Fd::operator=(Fd&& other) noexcept {
    if (this != &other) {
        reset();
        fd_ = other.release();
    }
    return *this;
}

int Fd::release() {
    const int fd = fd_;
    fd_ = -1;
    return fd;
}

void Fd::reset() {
    if (fd_ >= 0) close(fd_);
    fd_ = -1;
}

std::optional<Pipe> make_pipe(std::string& error) {
    int fds[2];
    if (pipe2(fds, O_CLOEXEC) != 0) {
        error = std::string("cannot make a pipe: ") + std::strerror(errno);
        return std::nullopt;
    }
    return Pipe{Fd(fds[0]), Fd(fds[1])};
}

void widen_pipe(int fd) {
    // Fails harmlessly above /proc/sys/fs/pipe-max-size.
    fcntl(fd, F_SETPIPE_SZ, 1 << 20);
}

Fd make_log_file() {
    int fd = open("/tmp", O_TMPFILE | O_RDWR | O_CLOEXEC, 0600);
    if (fd < 0) {
        char name[] = "/tmp/kelvra-log-XXXXXX";
        fd = mkostemp(name, O_CLOEXEC);
        if (fd >= 0) unlink(name);
    }
    return Fd(fd);
}

std::string read_log(int log_fd) {
    std::string text;
    char buf[4096];
    ssize_t n;
    off_t offset = 0;
    while (log_fd >= 0 && (n = pread(log_fd, buf, sizeof buf, offset)) > 0) {
        text.append(buf, size_t(n));
        offset += n;
    }
    return text;
}

std::string log_summary(int log_fd) {
    const std::string text = read_log(log_fd);
    std::vector<std::string> lines;
    size_t start = 0;
    while (start < text.size()) {
        size_t end = text.find_first_of("\r\n", start);
        if (end == std::string::npos) end = text.size();
        std::string line = text.substr(start, end - start);
        // "[mp4 @ 0x55d0c2a8] " names an address, not the problem.
        if (line.size() > 1 && line[0] == '[') {
            if (const size_t close = line.find("] "); close != std::string::npos)
                line = line.substr(close + 2);
        }
        while (!line.empty() && (line.back() == ' ' || line.back() == '-')) line.pop_back();
        if (!line.empty()) lines.push_back(line);
        start = end + 1;
    }
    if (lines.empty()) return {};
    // ffmpeg names the cause first and the consequence last.
    return lines.size() == 1 ? lines[0] : lines.front() + " (" + lines.back() + ")";
}

Child::~Child() {
    if (pid_ <= 0) return;
    kill(pid_, SIGKILL);
    wait();
}

int Child::wait() {
    if (pid_ <= 0) return -1;
    int status = 0;
    while (waitpid(pid_, &status, 0) < 0) {
        if (errno != EINTR) {
            pid_ = -1;
            return -1;
        }
        // An interrupted run does not wait for ffmpeg to finish its file.
        if (interrupted()) kill(pid_, SIGKILL);
    }
    pid_ = -1;
    if (WIFSIGNALED(status)) return 128 + WTERMSIG(status);
    return WEXITSTATUS(status);
}

std::optional<Child> spawn(const std::vector<std::string>& argv, const Stdio& stdio, std::string& error) {
    std::vector<char*> args;
    for (const std::string& a : argv) args.push_back(const_cast<char*>(a.c_str()));
    args.push_back(nullptr);

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    const int targets[3] = {STDIN_FILENO, STDOUT_FILENO, STDERR_FILENO};
    const int sources[3] = {stdio.in, stdio.out, stdio.err};
    for (int i = 0; i < 3; ++i) {
        if (sources[i] >= 0) {
            posix_spawn_file_actions_adddup2(&actions, sources[i], targets[i]);
        } else {
            posix_spawn_file_actions_addopen(&actions, targets[i], "/dev/null", i == 0 ? O_RDONLY : O_WRONLY,
                                             0);
        }
    }
    // kelvra ignores SIGPIPE and catches the interrupt signals; ffmpeg gets
    // the usual dispositions.
    posix_spawnattr_t attr;
    posix_spawnattr_init(&attr);
    sigset_t defaults;
    sigemptyset(&defaults);
    for (int sig : {SIGPIPE, SIGINT, SIGTERM, SIGHUP}) sigaddset(&defaults, sig);
    posix_spawnattr_setsigdefault(&attr, &defaults);
    posix_spawnattr_setflags(&attr, POSIX_SPAWN_SETSIGDEF);

    pid_t pid = -1;
    const int rc = posix_spawn(&pid, args[0], &actions, &attr, args.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    posix_spawnattr_destroy(&attr);
    if (rc != 0) {
        error = "cannot start " + argv[0] + ": " + std::strerror(rc);
        return std::nullopt;
    }
    return Child(pid);
}

std::optional<std::string> run_capture(const std::vector<std::string>& argv, std::string& error) {
    std::optional<Pipe> out = make_pipe(error);
    if (!out) return std::nullopt;
    Fd log = make_log_file();
    std::optional<Child> child = spawn(argv, Stdio{-1, out->write.get(), log.get()}, error);
    if (!child) return std::nullopt;
    out->write.reset();
    std::string text;
    char buf[8192];
    for (;;) {
        const ssize_t n = read(out->read.get(), buf, sizeof buf);
        if (n > 0) {
            text.append(buf, size_t(n));
        } else if (n == 0 || errno != EINTR || interrupted()) {
            break;
        }
    }
    const int status = child->wait();
    if (interrupted()) {
        error = "interrupted";
        return std::nullopt;
    }
    if (status != 0) {
        error = log_summary(log.get());
        if (error.empty()) error = argv[0] + " failed with status " + std::to_string(status);
        return std::nullopt;
    }
    return text;
}

}  // namespace kelvra::cli
