// SPDX-License-Identifier: GPL-2.0-or-later
// Shot-aware correction: the cut detector scored on a clip set with known
// cuts, flashes and fades; the restart at every shot and the steady levels
// checked frame by frame against the engine run as the plug-in runs it.
#include <gtest/gtest.h>

#include <map>
#include <regex>

#include "balance/balance.h"
#include "base/filter_data.h"
#include "helpers.h"
#include "levels/corrector.h"
#include "levels/steady.h"
#include "pass/frame_pass.h"

namespace {

using kelvra::cli::CorrectionSettings;

TEST(SceneCuts, TheClipSetsCutsAreFoundAndNoFlashOrFadeIsTaken) {
    // 22 cuts, 4 flashes, 2 fades of 8 frames; the larger run is in bench.sh.
    const RunResult r = run_program({"bash", KELVRA_SCRIPTS "/eval-cuts.sh", KELVRA_EXE, "96x64", "8"});
    EXPECT_EQ(r.status, 0) << r.out << r.err;
    EXPECT_NE(r.out.find("22 cuts"), std::string::npos) << r.out;
}

TEST(SceneCuts, CutsBetweenDarkInteriorsOfRealPhotosAreFound) {
    // Debian's photographs as dark interiors in warm light: 11 cuts whose
    // histograms barely move, a flash, a fade and a dissolve. The pictures
    // are fetched on first use; the larger sets are in eval-cuts.sh.
    const RunResult r = run_program(
        {"bash", KELVRA_SCRIPTS "/eval-cuts.sh", "--set", "interiors", KELVRA_EXE, "128x96", "8"});
    if (r.status == 77) GTEST_SKIP() << "no pictures: " << r.err;
    EXPECT_EQ(r.status, 0) << r.out << r.err;
    EXPECT_NE(r.out.find("11 cuts, 0 missed, 0 false"), std::string::npos) << r.out;
}

// Each record's cut_score from a --stats JSON file; -1 for null.
std::vector<double> cut_scores(const std::string& file) {
    const std::string text = read_file(file);
    const std::regex field("\"cut_score\": (null|[0-9.]+)");
    std::vector<double> scores;
    for (std::sregex_iterator m(text.begin(), text.end(), field), end; m != end; ++m)
        scores.push_back((*m)[1] == "null" ? -1 : std::stod((*m)[1]));
    return scores;
}

TEST(SceneCuts, EveryShotIsAFreshWarmStartedInstance) {
    ScratchDir dir;
    make_shots_clip(dir.path("in.mkv"), 8);
    // Frame 17 is a real cut forbidden, frame 5 none forced.
    const RunResult r =
        run_kelvra({dir.path("in.mkv"), dir.path("out.mkv"), "--codec", "ffv1", "--scene-cuts", "--cut-at",
                    "5", "--no-cut-at", "17", "--stats", dir.path("s.json")});
    ASSERT_EQ(r.status, 0) << r.err;
    const std::vector<std::map<std::string, int>> stats = read_stats(dir.path("s.json"));
    ASSERT_EQ(stats.size(), 24u);
    const std::vector<size_t> starts = shot_starts(stats);
    ASSERT_EQ(starts, (std::vector<size_t>{0, 4, 8}));
    // Balance's points are the ones its own levels were made from.
    for (const std::map<std::string, int>& f : stats) {
        const kelvra::Levels own =
            kelvra::balance_levels({{f.at("white_r"), f.at("white_g"), f.at("white_b")},
                                    {f.at("black_r"), f.at("black_g"), f.at("black_b")},
                                    f.at("white_spread")});
        const char* const names[6] = {"own_low_r",  "own_low_g",  "own_low_b",
                                      "own_high_r", "own_high_g", "own_high_b"};
        for (int i = 0; i < 6; ++i) EXPECT_EQ(own.v[i], f.at(names[i])) << names[i];
    }
    // The lists win over the scores, which still tell what was detected.
    const std::vector<double> scores = cut_scores(dir.path("s.json"));
    ASSERT_EQ(scores.size(), 24u);
    for (size_t f = 1; f < scores.size(); ++f)
        EXPECT_EQ(scores[f] > 50, f == 8 || f == 16) << "frame " << f + 1;

    const Video in = decode(dir.path("in.mkv")), out = decode(dir.path("out.mkv"));
    ASSERT_EQ(out.frames.size(), in.frames.size());
    const auto want = reference_by_shots(in, starts);
    for (size_t f = 0; f < in.frames.size(); ++f) ASSERT_EQ(rgb(out.frames[f]), want[f]) << "frame " << f + 1;

    // A pipe gets the same frames: the look-ahead holds two frames back.
    std::string raw;
    for (const std::vector<uint32_t>& frame : in.frames)
        raw.append(reinterpret_cast<const char*>(frame.data()), frame.size() * 4);
    const RunResult piped =
        run_kelvra({"--raw", "64x48", "-", "-", "--scene-cuts", "--cut-at", "5", "--no-cut-at", "17"}, raw);
    ASSERT_EQ(piped.status, 0) << piped.err;
    ASSERT_EQ(piped.out.size(), raw.size());
    for (size_t f = 0; f < out.frames.size(); ++f) {
        std::vector<uint32_t> frame(out.frames[f].size());
        std::copy_n(piped.out.data() + f * frame.size() * 4, frame.size() * 4,
                    reinterpret_cast<char*>(frame.data()));
        ASSERT_EQ(rgb(frame), rgb(out.frames[f])) << "piped frame " << f + 1;
    }
}

TEST(Steady, EveryFrameIsStretchedWithTheLevelsItsShotReports) {
    ScratchDir dir;
    make_shots_clip(dir.path("in.mkv"), 8);
    const RunResult r =
        run_kelvra({dir.path("in.mkv"), dir.path("out.mkv"), "--codec", "ffv1", "--steady", "--histogram",
                    "--stats", dir.path("s.json"), "--plot", dir.path("p.png")});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(probe_entry(dir.path("p.png"), "v:0", "codec_name"), "png");
    const std::vector<std::map<std::string, int>> stats = read_stats(dir.path("s.json"));
    ASSERT_EQ(stats.size(), 24u);
    EXPECT_EQ(shot_starts(stats), (std::vector<size_t>{0, 8, 16}));

    const std::vector<kelvra::Levels> applied = applied_levels(stats);
    const Video in = decode(dir.path("in.mkv")), out = decode(dir.path("out.mkv"));
    ASSERT_EQ(out.frames.size(), in.frames.size());
    const size_t w = size_t(in.w), h = size_t(in.h);
    std::vector<uint32_t> src(w * h), dst(w * h);
    for (size_t f = 0; f < in.frames.size(); ++f) {
        const int32_t* const levels = applied[f].v;
        for (int i = 0; i < 6 && !stats[f].at("shot_start"); ++i)
            ASSERT_EQ(levels[i], applied[f - 1].v[i]) << "level " << i << " moves at frame " << f + 1;
        // Freeze on a history full of these levels: the plug-in's own way
        // of stretching with given levels.
        kelvra::FilterData fd;
        kelvra::init_filter_data(fd, in.w, in.h);
        CorrectionSettings s;
        s.show_histogram = 1;
        kelvra::cli::apply_settings(fd, s);
        for (int i = 0; i < 6; ++i) {
            fd.current[i] = levels[i];
            for (int32_t& entry : fd.history[i]) entry = levels[i];
        }
        fd.freeze = 1;
        for (size_t y = 0; y < h; ++y) std::copy_n(&in.frames[f][(h - 1 - y) * w], w, &src[y * w]);
        kelvra::run_frame_pass(fd, {src.data(), in.w, in.h, ptrdiff_t(w * 4)},
                               {dst.data(), in.w, in.h, ptrdiff_t(w * 4)});
        for (size_t y = 0; y < h; ++y)
            for (size_t x = 0; x < w; ++x)
                ASSERT_EQ(out.frames[f][(h - 1 - y) * w + x] & 0xFFFFFF, dst[y * w + x] & 0xFFFFFF)
                    << "frame " << f + 1 << " at " << x << "," << y;
    }
    EXPECT_NE(stats[0].at("applied_low_r"), stats[8].at("applied_low_r"));

    // A still image is a one-frame shot: nothing changes.
    ffmpeg({"-i", "file:" + dir.path("in.mkv"), "-frames:v", "1", "file:" + dir.path("still.png")});
    ASSERT_EQ(run_kelvra({dir.path("still.png"), dir.path("plain.png")}).status, 0);
    ASSERT_EQ(
        run_kelvra({dir.path("still.png"), dir.path("shots.png"), "--steady", "--scene-cuts=90"}).status, 0);
    EXPECT_EQ(read_file(dir.path("shots.png")), read_file(dir.path("plain.png")));
}

TEST(Steady, EachShotGetsTheLowerMedianOfEachOwnLevel) {
    using kelvra::cli::FrameRecord;
    // Shot one: four frames, one of them a flash; shot two: one frame.
    const int32_t own[5][6] = {{10, 4, -3, 240, 250, 251},
                               {12, 3, -2, 244, 251, 250},
                               {60, 40, 30, 255, 255, 255},
                               {11, 5, -6, 241, 249, 252},
                               {2, 7, 9, 230, 231, 232}};
    std::vector<FrameRecord> records(5);
    for (size_t f = 0; f < 5; ++f) {
        std::copy_n(own[f], 6, records[f].report.own.v);
        records[f].shot_start = f == 0 || f == 4;
    }
    std::vector<FrameRecord> disabled = records;
    kelvra::cli::choose_steady_levels(records, false);
    kelvra::cli::choose_steady_levels(disabled, true);
    const std::vector<int32_t> first = {11, 4, -3, 241, 250, 251}, second(own[4], own[4] + 6);
    for (size_t f = 0; f < 5; ++f) {
        const std::vector<int32_t> got(records[f].report.applied.v, records[f].report.applied.v + 6);
        EXPECT_EQ(got, f < 4 ? first : second) << "frame " << f + 1;
        const std::vector<int32_t> none(disabled[f].report.applied.v, disabled[f].report.applied.v + 6);
        EXPECT_EQ(none, (std::vector<int32_t>{0, 0, 0, 255, 255, 255}));
    }
}

}  // namespace
