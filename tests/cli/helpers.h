// SPDX-License-Identifier: GPL-2.0-or-later
// What the kelvra tests share: a scratch folder, a plain process runner
// (fork and exec, independent of the tool's own plumbing), clips made and
// read back with ffmpeg, and the engine's frame pass run directly on
// bottom-up copies of the frames as the reference; --stats files read back.
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "levels/settings.h"
#include "pass/frame_pass.h"
#include "plugin/end_points.h"

// The engine run frame by frame as a binding runs it: the analysis plan for a
// correction, the sample balance needs and its run's light.
struct EnginePlan {
    kelvra::BalanceSample sample;
    kelvra::AnalysisPlan plan;
    kelvra::LightTracker tracker;
    kelvra::ShotLight light;
    explicit EnginePlan(kelvra::Correction correction);
    EnginePlan(const EnginePlan&) = delete;  // the plan points at the sample and the tracker
    // One frame pass; `restart` begins a shot at the frame (balance's run
    // begins by itself at its first).
    void pass(kelvra::FilterData& fd, const kelvra::Frame& src, const kelvra::Frame& dst,
              kelvra::FrameReport* report, bool restart);
};

class ScratchDir {
public:
    ScratchDir();
    ~ScratchDir();
    std::string path(const std::string& name) const { return dir_ + "/" + name; }
    const std::string& dir() const { return dir_; }
    std::vector<std::string> names() const;  // the folder's entries, sorted

private:
    std::string dir_;
};

std::string read_file(const std::string& path);

struct RunResult {
    int status = -1;  // exit status, or 128 + signal
    std::string out, err;
};

// Runs a program (looked up on PATH) with these arguments; `stdin_data` is fed to it.
RunResult run_program(const std::vector<std::string>& argv, const std::string& stdin_data = "",
                      const std::map<std::string, std::string>& env_overrides = {});
RunResult run_kelvra(const std::vector<std::string>& args, const std::string& stdin_data = "");

// ffmpeg with -v error -y prepended; fails the test when it fails.
void ffmpeg(const std::vector<std::string>& args);

// ffprobe's value of one stream entry, e.g. probe_entry(f, "v:0", "r_frame_rate").
std::string probe_entry(const std::string& file, const std::string& stream, const std::string& entry);

struct Video {
    int w = 0, h = 0;
    std::vector<std::vector<uint32_t>> frames;  // top-down 0xAARRGGBB
};

// Every frame of the first video stream as ffmpeg's bgra.
Video decode(const std::string& file);

// A 64x48 RGB clip with a blue cast, lossless (ffv1 in Matroska).
void make_cast_clip(const std::string& file, int frames = 12, const std::string& size = "64x48");

// Three 64x48 shots of `frames_per_shot` frames, each its own pattern and
// cast, lossless.
void make_shots_clip(const std::string& file, int frames_per_shot);

// The default settings with one change, for tables of cases.
kelvra::cli::CorrectionSettings with(const std::function<void(kelvra::cli::CorrectionSettings&)>& change);

// The engine's frame pass run directly: a fresh record with these settings,
// frames flipped into contiguous bottom-up images. `warm`: the first frame
// runs four extra times first. `freeze_from`: 0-based index of the first
// frame with Freeze on (-1: never). Alpha is not part of the result.
// `applied` receives each frame's levels. `starts`: 0-based frames that
// start a shot as cut rules start them (balance's run then finds no cuts of
// its own).
std::vector<std::vector<uint32_t>> reference(const Video& in, const kelvra::cli::CorrectionSettings& s,
                                             bool warm, int freeze_from = -1,
                                             std::vector<kelvra::Levels>* applied = nullptr,
                                             const std::vector<size_t>& starts = {});

// reference() warm-started, restarting at each shot start: as a fresh
// warm-started instance would for the plug-in's correction; balance's light
// tracker goes on over the whole clip, as the tool's does. `starts` are the
// 0-based shot starts, 0 first.
std::vector<std::vector<uint32_t>> reference_by_shots(const Video& in, const std::vector<size_t>& starts,
                                                      std::vector<kelvra::Levels>* applied = nullptr);

// Every integer of every record in a --stats file (.csv or .json), by field name.
std::vector<std::map<std::string, int>> read_stats(const std::string& file);

// The six applied_* levels of each record.
std::vector<kelvra::Levels> applied_levels(const std::vector<std::map<std::string, int>>& stats);

// The 0-based frames the records mark as shot starts.
std::vector<size_t> shot_starts(const std::vector<std::map<std::string, int>>& stats);

// RGB only: the alpha byte masked off.
std::vector<uint32_t> rgb(const std::vector<uint32_t>& frame);
