// SPDX-License-Identifier: GPL-2.0-or-later
// A batch: each file runs as a single file does, in a child process of its
// own (forked, so it has its own ffmpeg pipes, interrupt flag and temporary
// outputs), several at once. The children's messages go to logs and their
// progress to pipes; this process draws one bar, relays the warnings and
// names each file that failed, with its reason, at the end.
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>

#include "command/batch_jobs.h"
#include "command/run.h"
#include "output/output_file.h"
#include "process/interrupt.h"
#include "process/process.h"
#include "report/batch_progress.h"

namespace kelvra::cli {
namespace {

constexpr int kRedrawMilliseconds = 100;

// A file's decoder, correction and encoder already run side by side, so
// on two cores a second file at once finishes a folder sooner but makes
// each file take longer than alone (scripts/bench-batch.sh): each file
// gets two cores.
int default_jobs() { return std::max(1, int(sysconf(_SC_NPROCESSORS_ONLN) / 2)); }

struct Running {
    size_t job;
    pid_t pid;
    Fd progress, log;
};

struct Failure {
    size_t job;
    std::string reason;
};

[[noreturn]] void run_in_child(Options job, int progress_fd, int log_fd) {
    dup2(log_fd, STDERR_FILENO);
    job.progress_fd = progress_fd;
    const Outcome outcome = run_file(job);
    if (outcome.status != 0) report_error(outcome.error);
    _exit(outcome.status);
}

std::optional<Running> start(const std::vector<Options>& jobs, size_t job, std::string& error) {
    std::optional<Pipe> progress = make_pipe(error);
    if (!progress) return std::nullopt;
    Fd log = make_log_file();
    std::fflush(nullptr);  // nothing buffered here is written twice
    const pid_t pid = fork();
    if (pid < 0) {
        error = std::string("cannot start a process: ") + std::strerror(errno);
        return std::nullopt;
    }
    if (pid == 0) run_in_child(jobs[job], progress->write.get(), log.get());
    return Running{job, pid, std::move(progress->read), std::move(log)};
}

int wait_for(pid_t pid) {
    int status = 0;
    while (waitpid(pid, &status, 0) < 0 && errno == EINTR) {
    }
    return WIFSIGNALED(status) ? 128 + WTERMSIG(status) : WEXITSTATUS(status);
}

// Relays the child's warnings, each with its input's name, and returns why
// it failed.
std::string relay_log(const Options& job, int log_fd, BatchProgress& progress) {
    const std::string warning = "kelvra: warning: ", error = "kelvra: error: ";
    const std::string text = read_log(log_fd);
    std::string reason;
    progress.clear();
    for (size_t start = 0, end; start < text.size(); start = end + 1) {
        end = text.find('\n', start);
        if (end == std::string::npos) end = text.size();
        const std::string line = text.substr(start, end - start);
        if (line.rfind(error, 0) == 0) {
            reason = line.substr(error.size());
        } else if (line.rfind(warning, 0) == 0) {
            std::fprintf(stderr, "%s%s: %s\n", warning.c_str(), job.input.c_str(),
                         line.substr(warning.size()).c_str());
        } else {
            std::fprintf(stderr, "%s\n", line.c_str());
        }
    }
    return reason;
}

// The child is gone: its warnings relayed, and its reason when it failed.
// One killed before it could clean up leaves its temporary files, removed
// here.
std::optional<Failure> end_child(const std::vector<Options>& jobs, const Running& r,
                                 BatchProgress& progress) {
    const int status = wait_for(r.pid);
    progress.finished(r.job);
    std::string reason = relay_log(jobs[r.job], r.log.get(), progress);
    if (status == 0) return std::nullopt;
    if (status > 128 && status != kInterruptedStatus) {
        for (const std::string& output : job_outputs(jobs[r.job]))
            unlink(temporary_path(output, r.pid).c_str());
        reason = "stopped by signal " + std::to_string(status - 128) + "; nothing written";
    }
    return Failure{r.job, reason.empty() ? "failed with status " + std::to_string(status) : reason};
}

// Reads what the running children reported, for up to one redraw's time;
// ends those whose pipes closed.
void watch(const std::vector<Options>& jobs, std::vector<Running>& running, BatchProgress& progress,
           std::vector<Failure>& failures) {
    std::vector<pollfd> fds;
    for (const Running& r : running) fds.push_back({r.progress.get(), POLLIN, 0});
    if (poll(fds.data(), fds.size(), kRedrawMilliseconds) <= 0) return;
    for (size_t i = fds.size(); i-- > 0;) {
        if (fds[i].revents == 0) continue;
        char buf[512];
        const ssize_t n = read(fds[i].fd, buf, sizeof buf);
        if (n > 0) {
            progress.take(running[i].job, std::string(buf, size_t(n)));
        } else if (n == 0 || errno != EINTR) {
            if (std::optional<Failure> f = end_child(jobs, running[i], progress)) failures.push_back(*f);
            running.erase(running.begin() + long(i));
        }
    }
}

}  // namespace

Outcome run_batch(const Options& o) {
    std::string error;
    const std::optional<std::vector<Options>> jobs = batch_jobs(o, error);
    if (!jobs || !make_folders(o.out_dir, error)) return {1, error};
    const size_t at_once = size_t(o.jobs.value_or(default_jobs()));
    BatchProgress progress(progress_wanted(o), jobs->size());
    std::vector<Running> running;
    std::vector<Failure> failures;
    size_t next = 0;
    bool passed_on = false;
    while (next < jobs->size() || !running.empty()) {
        for (; !interrupted() && running.size() < at_once && next < jobs->size(); ++next) {
            std::optional<Running> r = start(*jobs, next, error);
            if (r) {
                running.push_back(std::move(*r));
            } else {
                failures.push_back({next, error});
            }
        }
        // Ctrl-C reaches the children itself; a signal sent to this process
        // alone is passed on, so they stop and clean up as single runs do.
        if (interrupted() && !passed_on) {
            for (const Running& r : running) kill(r.pid, SIGTERM);
            passed_on = true;
        }
        if (running.empty()) break;
        watch(*jobs, running, progress, failures);
        progress.update();
    }
    progress.finish();

    std::sort(failures.begin(), failures.end(),
              [](const Failure& a, const Failure& b) { return a.job < b.job; });
    for (const Failure& f : failures) report_error((*jobs)[f.job].input + ": " + f.reason);
    const size_t written = next - failures.size();
    const std::string tally =
        std::to_string(written) + " of " + std::to_string(jobs->size()) + " files written";
    if (interrupted())
        return {kInterruptedStatus, "interrupted; " + tally + ", the files under way left nothing"};
    if (!failures.empty()) return {1, tally + "; " + std::to_string(failures.size()) + " failed"};
    return {};
}

}  // namespace kelvra::cli
