// SPDX-License-Identifier: GPL-2.0-or-later
#include "helpers.h"

#include <dirent.h>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <regex>
#include <sstream>

#include "base/filter_data.h"
#include "levels/corrector.h"
#include "pass/frame_pass.h"

namespace {

void remove_tree(const std::string& path) {
    if (DIR* d = opendir(path.c_str())) {
        while (dirent* e = readdir(d)) {
            const std::string name = e->d_name;
            if (name == "." || name == "..") continue;
            remove_tree(path + "/" + name);
        }
        closedir(d);
        rmdir(path.c_str());
    } else {
        unlink(path.c_str());
    }
}

}  // namespace

std::string read_file(const std::string& path) {
    std::ifstream f(path, std::ios::binary);
    std::stringstream s;
    s << f.rdbuf();
    return s.str();
}

ScratchDir::ScratchDir() {
    char tmpl[] = "/tmp/kelvra-cli-test-XXXXXX";
    dir_ = mkdtemp(tmpl);
}

ScratchDir::~ScratchDir() { remove_tree(dir_); }

std::vector<std::string> ScratchDir::names() const {
    std::vector<std::string> names;
    if (DIR* d = opendir(dir_.c_str())) {
        while (dirent* e = readdir(d)) {
            const std::string name = e->d_name;
            if (name != "." && name != "..") names.push_back(name);
        }
        closedir(d);
    }
    std::sort(names.begin(), names.end());
    return names;
}

RunResult run_program(const std::vector<std::string>& argv, const std::string& stdin_data,
                      const std::map<std::string, std::string>& env_overrides) {
    ScratchDir io;
    const std::string in = io.path("in"), out = io.path("out"), err = io.path("err");
    std::ofstream(in, std::ios::binary) << stdin_data;
    const pid_t pid = fork();
    if (pid == 0) {
        dup2(open(in.c_str(), O_RDONLY), 0);
        dup2(open(out.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600), 1);
        dup2(open(err.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600), 2);
        for (const auto& [name, value] : env_overrides) setenv(name.c_str(), value.c_str(), 1);
        std::vector<char*> args;
        for (const std::string& a : argv) args.push_back(const_cast<char*>(a.c_str()));
        args.push_back(nullptr);
        execvp(args[0], args.data());
        _exit(127);
    }
    int status = 0;
    waitpid(pid, &status, 0);
    RunResult r;
    r.status = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    r.out = read_file(out);
    r.err = read_file(err);
    return r;
}

RunResult run_kelvra(const std::vector<std::string>& args, const std::string& stdin_data) {
    std::vector<std::string> argv = {KELVRA_EXE};
    argv.insert(argv.end(), args.begin(), args.end());
    return run_program(argv, stdin_data);
}

void ffmpeg(const std::vector<std::string>& args) {
    std::vector<std::string> argv = {"ffmpeg", "-nostdin", "-v", "error", "-y"};
    argv.insert(argv.end(), args.begin(), args.end());
    const RunResult r = run_program(argv);
    ASSERT_EQ(r.status, 0) << r.err;
}

std::string probe_entry(const std::string& file, const std::string& stream, const std::string& entry) {
    const RunResult r = run_program({"ffprobe", "-v", "error", "-select_streams", stream, "-show_entries",
                                     "stream=" + entry, "-of", "default=nw=1:nk=1", "file:" + file});
    std::string v = r.out;
    while (!v.empty() && (v.back() == '\n' || v.back() == '\r')) v.pop_back();
    return v;
}

Video decode(const std::string& file) {
    Video v;
    v.w = std::atoi(probe_entry(file, "v:0", "width").c_str());
    v.h = std::atoi(probe_entry(file, "v:0", "height").c_str());
    const RunResult r =
        run_program({"ffmpeg", "-nostdin", "-v", "error", "-i", "file:" + file, "-map", "0:v:0", "-fps_mode",
                     "passthrough", "-f", "rawvideo", "-pix_fmt", "bgra", "-"});
    EXPECT_EQ(r.status, 0) << r.err;
    const size_t frame_bytes = size_t(v.w) * v.h * 4;
    if (frame_bytes == 0) return v;
    for (size_t at = 0; at + frame_bytes <= r.out.size(); at += frame_bytes) {
        std::vector<uint32_t> f(size_t(v.w) * v.h);
        std::copy_n(r.out.data() + at, frame_bytes, reinterpret_cast<char*>(f.data()));
        v.frames.push_back(std::move(f));
    }
    return v;
}

void make_cast_clip(const std::string& file, int frames, const std::string& size) {
    ffmpeg({"-f", "lavfi", "-i",
            "testsrc2=size=" + size + ":rate=25,format=rgb24,colorlevels=romin=0.1:romax=0.8:bomin=0.2",
            "-frames:v", std::to_string(frames), "-c:v", "ffv1", "-pix_fmt", "bgr0", "file:" + file});
}

void make_shots_clip(const std::string& file, int frames_per_shot) {
    const char* const shots[3] = {
        "testsrc2=size=64x48:rate=25,format=rgb24,colorlevels=romin=0.1:romax=0.8:bomin=0.2",
        "smptebars=size=64x48:rate=25,format=rgb24,colorlevels=gomin=0.15:bomax=0.7",
        "mandelbrot=size=64x48:rate=25,format=rgb24,colorlevels=romax=0.75:bomin=0.1"};
    std::string graph;
    for (int i = 0; i < 3; ++i)
        graph += std::string(shots[i]) + ",trim=end_frame=" + std::to_string(frames_per_shot) + "[s" +
                 std::to_string(i) + "];";
    ffmpeg({"-f", "lavfi", "-i", graph + "[s0][s1][s2]concat=n=3", "-c:v", "ffv1", "-pix_fmt", "bgr0",
            "file:" + file});
}

kelvra::cli::CorrectionSettings with(const std::function<void(kelvra::cli::CorrectionSettings&)>& change) {
    kelvra::cli::CorrectionSettings s;
    change(s);
    return s;
}

EnginePlan::EnginePlan(kelvra::Correction correction) : plan{correction, false, &sample, &tracker} {}

void EnginePlan::pass(kelvra::FilterData& fd, const kelvra::Frame& src, const kelvra::Frame& dst,
                      kelvra::FrameReport* report, bool restart) {
    kelvra::FrameAnalysis a;
    kelvra::analyse_frame(fd, src, a, plan);
    kelvra::stretch_frame(a, src, dst, kelvra::step_levels(fd, light, a, restart, report));
}

std::vector<std::vector<uint32_t>> reference(const Video& in, const kelvra::cli::CorrectionSettings& s,
                                             bool warm, int freeze_from, std::vector<kelvra::Levels>* applied,
                                             const std::vector<size_t>& starts) {
    kelvra::FilterData fd;
    kelvra::init_filter_data(fd, in.w, in.h);
    kelvra::cli::apply_settings(fd, s);
    EnginePlan engine(s.correction);
    engine.light.finds_cuts = starts.empty();
    // Balance's run starts with the first frame's own light by itself; the
    // plug-in's warm start is five passes of the first frame.
    warm = warm && s.correction == kelvra::Correction::kPlugin;
    const size_t w = size_t(in.w), h = size_t(in.h);
    std::vector<uint32_t> src(w * h), dst(w * h);
    const kelvra::Frame sf{src.data(), in.w, in.h, ptrdiff_t(w * 4)},
        df{dst.data(), in.w, in.h, ptrdiff_t(w * 4)};
    std::vector<std::vector<uint32_t>> out;
    for (size_t i = 0; i < in.frames.size(); ++i) {
        // Row y of the engine's image is the picture's line h - 1 - y.
        for (size_t y = 0; y < h; ++y) std::copy_n(&in.frames[i][(h - 1 - y) * w], w, &src[y * w]);
        if (int(i) == freeze_from) fd.freeze = 1;
        kelvra::FrameReport report;
        const bool start = i > 0 && std::find(starts.begin(), starts.end(), i) != starts.end();
        for (int pass = 0; pass < (warm && i == 0 ? 5 : 1); ++pass) engine.pass(fd, sf, df, &report, start);
        if (applied) applied->push_back(report.applied);
        std::vector<uint32_t> top_down(w * h);
        for (size_t y = 0; y < h; ++y) std::copy_n(&dst[y * w], w, &top_down[(h - 1 - y) * w]);
        out.push_back(rgb(top_down));
    }
    return out;
}

std::vector<std::vector<uint32_t>> reference_by_shots(const Video& in, const std::vector<size_t>& starts,
                                                      std::vector<kelvra::Levels>* applied) {
    return reference(in, kelvra::cli::CorrectionSettings{}, true, -1, applied, starts);
}

std::vector<std::map<std::string, int>> read_stats(const std::string& file) {
    std::vector<std::map<std::string, int>> records;
    const std::string text = read_file(file);
    if (text.rfind('[', 0) == 0) {
        const std::regex field("\"([a-z_]+)\": (-?[0-9]+)[,}]");
        for (size_t at = text.find('{'); at != std::string::npos; at = text.find('{', at + 1)) {
            const std::string object = text.substr(at, text.find('}', at) - at + 1);
            std::map<std::string, int>& record = records.emplace_back();
            for (std::sregex_iterator m(object.begin(), object.end(), field), end; m != end; ++m)
                record[(*m)[1]] = std::stoi((*m)[2]);
        }
        return records;
    }
    const auto cells = [](const std::string& line) {
        std::vector<std::string> out;
        std::stringstream s(line);
        for (std::string cell; std::getline(s, cell, ',');) out.push_back(cell);
        return out;
    };
    std::stringstream lines(text);
    std::string line;
    std::getline(lines, line);
    const std::vector<std::string> names = cells(line);
    const std::regex integer("-?[0-9]+");
    while (std::getline(lines, line)) {
        const std::vector<std::string> values = cells(line);
        std::map<std::string, int>& record = records.emplace_back();
        for (size_t i = 0; i < values.size() && i < names.size(); ++i)
            if (std::regex_match(values[i], integer)) record[names[i]] = std::stoi(values[i]);
    }
    return records;
}

std::vector<kelvra::Levels> applied_levels(const std::vector<std::map<std::string, int>>& stats) {
    const char* const names[6] = {"applied_low_r",  "applied_low_g",  "applied_low_b",
                                  "applied_high_r", "applied_high_g", "applied_high_b"};
    std::vector<kelvra::Levels> levels(stats.size());
    for (size_t f = 0; f < stats.size(); ++f)
        for (int i = 0; i < 6; ++i) levels[f].v[i] = stats[f].at(names[i]);
    return levels;
}

std::vector<size_t> shot_starts(const std::vector<std::map<std::string, int>>& stats) {
    std::vector<size_t> starts;
    for (size_t i = 0; i < stats.size(); ++i)
        if (stats[i].at("shot_start")) starts.push_back(i);
    return starts;
}

std::vector<uint32_t> rgb(const std::vector<uint32_t>& frame) {
    std::vector<uint32_t> r(frame);
    for (uint32_t& p : r) p &= 0xFFFFFF;
    return r;
}
