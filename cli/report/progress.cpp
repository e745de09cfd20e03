// SPDX-License-Identifier: GPL-2.0-or-later
#include "report/progress.h"

#include <cstdio>
#include <utility>

namespace kelvra::cli {
namespace {

constexpr int kBarWidth = 24;
constexpr auto kRedrawInterval = std::chrono::milliseconds(100);

std::string clock_text(double seconds) {
    const long s = static_cast<long>(seconds + 0.5);
    char buf[32];
    if (s >= 3600) {
        std::snprintf(buf, sizeof buf, "%ld:%02ld:%02ld", s / 3600, s / 60 % 60, s % 60);
    } else {
        std::snprintf(buf, sizeof buf, "%ld:%02ld", s / 60, s % 60);
    }
    return buf;
}

}  // namespace

std::string progress_line(int64_t done, std::optional<int64_t> total, double elapsed_seconds) {
    const double fps = elapsed_seconds > 0 ? double(done) / elapsed_seconds : 0.0;
    char speed[32];
    std::snprintf(speed, sizeof speed, "%.1f fps", fps);
    if (!total || *total <= 0) return std::to_string(done) + " frames  " + speed;

    const int64_t shown = done < *total ? done : *total;
    const int filled = static_cast<int>(shown * kBarWidth / *total);
    std::string line = "[";
    line.append(size_t(filled), '#').append(size_t(kBarWidth - filled), '.').append("] ");
    line.append(std::to_string(done))
        .append("/")
        .append(std::to_string(*total))
        .append(" frames  ")
        .append(speed);
    if (fps > 0) line.append("  ETA ").append(clock_text(double(*total - shown) / fps));
    return line;
}

ProgressBar::ProgressBar(bool enabled, std::optional<int64_t> total, std::string label, int report_fd)
    : enabled_(enabled || report_fd >= 0),
      report_fd_(report_fd),
      total_(total),
      label_(std::move(label)),
      start_(std::chrono::steady_clock::now()),
      last_draw_(start_) {}

void ProgressBar::update(int64_t done) {
    if (!enabled_) return;
    const auto now = std::chrono::steady_clock::now();
    if (now - last_draw_ < kRedrawInterval) return;
    last_draw_ = now;
    draw(done);
}

void ProgressBar::finish(int64_t done) {
    if (!enabled_) return;
    draw(done);
    if (report_fd_ < 0) std::fputc('\n', stderr);
}

void ProgressBar::set_total(std::optional<int64_t> total, std::string label) {
    total_ = total;
    label_ = std::move(label);
}

void ProgressBar::clear() {
    if (enabled_ && report_fd_ < 0) std::fputs("\r\033[K", stderr);
}

void ProgressBar::draw(int64_t done) {
    if (report_fd_ >= 0) {
        // A batch that went away stops no file: the line is lost, the run goes on.
        dprintf(report_fd_, "%lld %lld\n", static_cast<long long>(done),
                static_cast<long long>(total_.value_or(-1)));
        return;
    }
    const double elapsed = std::chrono::duration<double>(std::chrono::steady_clock::now() - start_).count();
    // Carriage return, the line, then clear what a longer line left.
    std::fprintf(stderr, "\r%s%s\033[K", label_.c_str(), progress_line(done, total_, elapsed).c_str());
    std::fflush(stderr);
}

}  // namespace kelvra::cli
