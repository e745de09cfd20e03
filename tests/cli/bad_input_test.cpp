// SPDX-License-Identifier: GPL-2.0-or-later
// Bad input gets one clear line, a non-zero status, and leaves no file
// behind; unusual file names work; Ctrl-C leaves nothing.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <fstream>
#include <thread>

#include "helpers.h"

namespace {

class BadInput : public testing::Test {
protected:
    void SetUp() override {
        make_cast_clip(dir.path("in.mkv"), 4);
        ffmpeg({"-f", "lavfi", "-i", "sine=duration=0.2", "file:" + dir.path("tone.wav")});
        before = dir.names();
    }

    // Runs kelvra and checks the failure: status, one line naming the
    // problem, and the folder exactly as it was.
    void expect_refused(const std::vector<std::string>& args, const std::string& message) {
        const RunResult r = run_kelvra(args);
        EXPECT_NE(r.status, 0) << message;
        EXPECT_EQ(r.err.rfind("kelvra: error: ", 0), 0u) << r.err;
        EXPECT_NE(r.err.find(message), std::string::npos) << "wanted \"" << message << "\" in: " << r.err;
        EXPECT_EQ(std::count(r.err.begin(), r.err.end(), '\n'), 1) << r.err;
        EXPECT_EQ(dir.names(), before) << message;
    }

    ScratchDir dir;
    std::vector<std::string> before;
};

// The picture of a compare run, in its two halves: before and after.
std::pair<std::vector<uint32_t>, std::vector<uint32_t>> compare_halves(const std::string& png) {
    const Video v = decode(png);
    std::vector<uint32_t> before, after;
    for (int y = 0; y < v.h; ++y) {
        const auto row = v.frames.at(0).begin() + y * v.w;
        before.insert(before.end(), row, row + v.w / 2);
        after.insert(after.end(), row + v.w / 2, row + v.w);
    }
    return {rgb(before), rgb(after)};
}

// The frame of `video` nearest `picture`, for pictures that went through
// another conversion than ffmpeg's own.
size_t nearest_frame(const Video& video, const std::vector<uint32_t>& picture) {
    std::vector<int64_t> distance;
    for (const std::vector<uint32_t>& frame : video.frames) {
        int64_t d = 0;
        for (size_t i = 0; i < picture.size(); ++i) {
            for (int shift = 0; shift < 24; shift += 8)
                d += std::abs(int((picture[i] >> shift) & 0xFF) - int((frame[i] >> shift) & 0xFF));
        }
        distance.push_back(d);
    }
    return size_t(std::min_element(distance.begin(), distance.end()) - distance.begin());
}

// Written as far as it decodes, as ffmpeg writes it, with one line that says
// how much is missing; a compare frame past the end is the last decoded.
TEST_F(BadInput, AFileThatEndsEarlySaysSo) {
    const std::string whole = dir.path("whole.avi"), cut = dir.path("cut.avi");
    ffmpeg({"-f", "lavfi", "-i", "testsrc2=size=64x48:rate=25", "-frames:v", "40", "-c:v", "mjpeg",
            "file:" + whole});
    const std::string bytes = read_file(whole);
    std::ofstream(cut, std::ios::binary) << bytes.substr(0, bytes.size() / 2);
    const size_t decodable = decode(cut).frames.size();
    ASSERT_GT(decodable, 0u);
    ASSERT_LT(decodable, 40u);

    const RunResult r = run_kelvra({cut, dir.path("out.mkv"), "--codec", "ffv1", "--compare",
                                    dir.path("c.png"), "--compare-frame", "39"});
    ASSERT_EQ(r.status, 0) << r.err;
    const Video written = decode(dir.path("out.mkv"));
    EXPECT_EQ(written.frames.size(), decodable);
    EXPECT_EQ(r.err.rfind("kelvra: warning: ", 0), 0u) << r.err;
    EXPECT_EQ(std::count(r.err.begin(), r.err.end(), '\n'), 2) << r.err;
    EXPECT_NE(r.err.find("promised 40 frames, " + std::to_string(decodable) + " decoded"), std::string::npos)
        << r.err;
    EXPECT_NE(r.err.find("--compare: frame 39 never came; frame " + std::to_string(decodable) +
                         ", the last decoded, is compared"),
              std::string::npos)
        << r.err;
    const auto [before, after] = compare_halves(dir.path("c.png"));
    EXPECT_EQ(nearest_frame(decode(cut), before), decodable - 1);
    EXPECT_EQ(after, rgb(written.frames.back()));

    // Where the container already says the frame is not there, the last is
    // chosen before the run.
    const RunResult four = run_kelvra({dir.path("in.mkv"), dir.path("four.mkv"), "--codec", "ffv1",
                                       "--compare", dir.path("four.png"), "--compare-frame", "5"});
    ASSERT_EQ(four.status, 0) << four.err;
    EXPECT_EQ(four.err, "kelvra: warning: --compare-frame 5: the input has 4 frames; the last is compared\n");
    EXPECT_EQ(compare_halves(dir.path("four.png")).second, rgb(decode(dir.path("four.mkv")).frames.back()));

    // An MP4 cut by stream copy counts samples that its edit list never shows.
    const std::string mp4 = dir.path("whole.mp4"), trimmed = dir.path("trimmed.mp4");
    ffmpeg({"-f", "lavfi", "-i", "testsrc2=size=64x48:rate=25", "-frames:v", "50", "-c:v", "libx264", "-g",
            "25", "file:" + mp4});
    ffmpeg({"-ss", "1.3", "-i", "file:" + mp4, "-c", "copy", "file:" + trimmed});
    const RunResult t = run_kelvra({trimmed, dir.path("trimmed.mkv"), "--codec", "ffv1"});
    EXPECT_EQ(t.status, 0);
    EXPECT_EQ(t.err, "");
    EXPECT_EQ(decode(dir.path("trimmed.mkv")).frames.size(), decode(trimmed).frames.size());
}

// Bytes overwritten inside an H.264 stream: every frame that decodes is
// written, with one line that counts the frames with decode errors, the
// same whether the tool or an ffmpeg process (for a rotated copy) decoded
// it; the decoder's own lines only with --verbose.
TEST_F(BadInput, ADamagedFileGivesOneLine) {
    ffmpeg({"-f", "lavfi", "-i", "testsrc2=size=64x48:rate=25", "-frames:v", "30", "-c:v", "libx264", "-g",
            "10", "file:" + dir.path("whole.mp4")});
    ffmpeg({"-i", "file:" + dir.path("whole.mp4"), "-c", "copy", "-metadata:s:v", "rotate=90",
            "file:" + dir.path("turned.mp4")});
    std::vector<std::string> errors;
    for (const std::string name : {"whole", "turned"}) {
        std::string bytes = read_file(dir.path(name + ".mp4"));
        for (size_t at = bytes.size() / 4; at < bytes.size() * 3 / 4; at += 200)
            bytes.replace(at, 24, 24, '\0');
        const std::string damaged = dir.path(name + "-damaged.mp4"), out = dir.path(name + ".mkv");
        std::ofstream(damaged, std::ios::binary) << bytes;
        const RunResult r = run_kelvra({damaged, out, "--codec", "ffv1"});
        ASSERT_EQ(r.status, 0) << r.err;
        const size_t decodable = decode(damaged).frames.size();
        EXPECT_LT(decodable, 30u);
        EXPECT_EQ(decode(out).frames.size(), decodable);
        EXPECT_EQ(std::count(r.err.begin(), r.err.end(), '\n'), 1) << r.err;
        const std::string tail = " frames had decode errors; its container promised 30 frames, " +
                                 std::to_string(decodable) + " decoded";
        const size_t from = r.err.find("is damaged: "), to = r.err.find(tail);
        ASSERT_TRUE(from != std::string::npos && to != std::string::npos) << r.err;
        errors.push_back(r.err.substr(from, to - from));
    }
    EXPECT_EQ(errors[0], errors[1]);
    EXPECT_NE(errors[0], "is damaged: 0");

    const RunResult verbose =
        run_kelvra({dir.path("whole-damaged.mp4"), dir.path("verbose.mkv"), "--codec", "ffv1", "--verbose"});
    EXPECT_EQ(verbose.status, 0);
    EXPECT_NE(verbose.err.find("[h264 @ "), std::string::npos) << verbose.err;
    EXPECT_NE(verbose.err.find("kelvra: warning: "), std::string::npos) << verbose.err;
    EXPECT_EQ(verbose.err.find("--verbose shows"), std::string::npos) << verbose.err;
}

TEST_F(BadInput, InputsThatCannotBeCorrected) {
    const std::string out = dir.path("out.mkv");
    expect_refused({dir.path("missing.mkv"), out},
                   "cannot read input \"" + dir.path("missing.mkv") + "\": No such file or directory");
    expect_refused({dir.dir(), out}, "is a folder, not a file");
    expect_refused({dir.path("tone.wav"), out}, "has no video stream");
    std::ofstream(dir.path("junk.mkv")) << "not a video at all";
    before = dir.names();
    expect_refused({dir.path("junk.mkv"), out},
                   "cannot read \"" + dir.path("junk.mkv") + "\" as a video or an image");
}

TEST_F(BadInput, SettingsOutsideTheirRanges) {
    const std::string in = dir.path("in.mkv"), out = dir.path("out.mkv");
    expect_refused({in, out, "--config", "Konfig(25,0,0,1,1,1,1)"}, "--config: the method is called Config");
    expect_refused({in, out, "--config", "Config(25,0,0,1,1,1)"}, "Config takes 7 values");
    expect_refused({in, out, "--config", "Config(25,0,0,1,1,1,one)"},
                   "value 7 (\"one\") is not a 32-bit integer");
    expect_refused({in, out, "--level", "0"}, "--level: level 0 lies outside 1..500");
    expect_refused({in, out, "--level", "501"}, "level 501 lies outside 1..500");
    expect_refused({in, out, "--border", "34,1,1,1"},
                   "--border: UP 34 lies outside 1..33 for a picture of 48 rows");
    expect_refused({in, out, "--border", "1,30,25,1"},
                   "LEFT + RIGHT = 55 leaves fewer than 10 of 64 columns");
    expect_refused({in, out, "--freeze-after", "0"}, "--freeze-after");
}

TEST_F(BadInput, ConfigValuesOutsideTheDialogOnlyWarn) {
    const RunResult r =
        run_kelvra({dir.path("in.mkv"), dir.path("out.mkv"), "--config", "Config(0,0,1,40,1,1,1)"});
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_NE(r.err.find("kelvra: warning: --config: level 0 lies outside 1..500"), std::string::npos)
        << r.err;
    EXPECT_NE(r.err.find("UP 40 lies outside 1..33"), std::string::npos) << r.err;
    EXPECT_EQ(decode(dir.path("out.mkv")).frames.size(), 4u);
}

TEST_F(BadInput, OutputsThatWouldLoseSomething) {
    const std::string in = dir.path("in.mkv");
    expect_refused({in, dir.dir() + "/./in.mkv"}, "is the input file");
    ASSERT_EQ(link(in.c_str(), dir.path("hard-link.mkv").c_str()), 0);
    before = dir.names();
    expect_refused({in, dir.path("hard-link.mkv"), "--force"}, "is the input file");
    std::ofstream(dir.path("taken.mkv")) << "keep me";
    before = dir.names();
    expect_refused({in, dir.path("taken.mkv")}, "exists; use --force to replace it");
    expect_refused(
        {in, dir.path("no/such/folder/out.mkv")},
        "cannot write in folder \"" + dir.path("no/such/folder") + "\": No such file or directory");
    expect_refused({in, dir.path("taken.mkv/out.mkv")}, "Not a directory");
    if (geteuid() != 0) {  // root writes into any folder
        ASSERT_EQ(mkdir(dir.path("locked").c_str(), 0555), 0);
        before = dir.names();
        expect_refused({in, dir.path("locked/out.mkv")}, "Permission denied");
    }
    expect_refused({in, dir.path("o.mkv"), "--compare", dir.path("o.mkv")}, "the output name the same file");
    expect_refused({in, dir.path("o.mp4"), "--codec", "no-such-codec"}, "ffmpeg could not write");
    std::ifstream kept(dir.path("taken.mkv"));
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(kept), {}), "keep me");
}

TEST_F(BadInput, ShotOptionsThatCannotWork) {
    const std::string in = dir.path("in.mkv"), out = dir.path("out.mkv");
    expect_refused({in, out, "--scene-cuts=101"}, "--scene-cuts: expected a sensitivity 0..100");
    expect_refused({in, out, "--cut-at", "3,x"}, "--cut-at: expected frame numbers from 1");
    expect_refused({in, out, "--no-cut-at", "0"}, "--no-cut-at: expected frame numbers from 1");
    expect_refused({in, out, "--cut-at", "3", "--no-cut-at", "2,3"}, "frame 3 is in both");
    expect_refused({in, out, "--stats", dir.path("s.txt")},
                   "--stats: the file name must end in .csv or .json");
    expect_refused({in, out, "--stats", dir.path("no/s.csv")}, "cannot write in folder");
    expect_refused({in, out, "--compare", dir.path("c.png"), "--plot", dir.path("c.png")},
                   "names a file this run already writes");
    for (const char* mode : {"--scene-cuts", "--steady"}) {
        const RunResult r = run_kelvra({in, out, mode, "--freeze-after", "2"});
        EXPECT_EQ(r.status, 2) << r.err;
        EXPECT_NE(r.err.find("does not go with"), std::string::npos) << r.err;
    }
    const RunResult piped = run_kelvra({"--raw", "4x4", "-", "-", "--steady"});
    EXPECT_EQ(piped.status, 2);
    EXPECT_NE(piped.err.find("--steady reads the input twice, which a pipe cannot do"), std::string::npos);
    // Without gnuplot, said before any work.
    ScratchDir tools;
    for (const std::string tool : {"ffmpeg", "ffprobe"}) {
        std::string path = run_program({"sh", "-c", "command -v " + tool}).out;
        path.pop_back();
        ASSERT_EQ(symlink(path.c_str(), tools.path(tool).c_str()), 0);
    }
    const RunResult no_plotter =
        run_program({KELVRA_EXE, in, out, "--plot", dir.path("p.png")}, "", {{"PATH", tools.dir()}});
    EXPECT_EQ(no_plotter.status, 1);
    EXPECT_NE(no_plotter.err.find("--plot needs gnuplot, which is not installed"), std::string::npos)
        << no_plotter.err;
    EXPECT_EQ(dir.names(), before);

    const RunResult beyond = run_kelvra({in, out, "--cut-at", "2,9"});
    EXPECT_EQ(beyond.status, 0) << beyond.err;
    EXPECT_NE(beyond.err.find("warning: --cut-at/--no-cut-at frame 9: the input has only 4 frames"),
              std::string::npos)
        << beyond.err;
}

TEST_F(BadInput, MissingFfmpeg) {
    std::vector<std::string> argv = {KELVRA_EXE, dir.path("in.mkv"), dir.path("out.mkv")};
    const RunResult r = run_program(argv, "", {{"PATH", dir.path("empty")}});
    EXPECT_NE(r.status, 0);
    EXPECT_NE(r.err.find("ffmpeg not found on PATH: install the Debian package ffmpeg"), std::string::npos)
        << r.err;
    EXPECT_EQ(dir.names(), before);
}

TEST_F(BadInput, ForceReplacesAnExistingOutput) {
    std::ofstream(dir.path("old.mkv")) << "old";
    const RunResult r = run_kelvra({dir.path("in.mkv"), dir.path("old.mkv"), "--force"});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(decode(dir.path("old.mkv")).frames.size(), 4u);
}

TEST(FileNames, AreDataNeverCode) {
    ScratchDir dir;
    const std::string in = dir.path("-in 'quoted' \"double\" $HOME; rm -rf x.mkv");
    const std::string out = dir.path("-out $(date) `id` ;|&.mkv");
    make_cast_clip(in, 3);
    const RunResult r = run_kelvra({"--quiet", "--", in, out});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(decode(out).frames.size(), 3u);
    // Relative names that start with a dash, from inside the folder.
    const RunResult relative =
        run_program({"sh", "-c", "cd \"$1\" && \"$2\" -- \"$3\" -x.mkv", "sh", dir.dir(), KELVRA_EXE,
                     "-in 'quoted' \"double\" $HOME; rm -rf x.mkv"});
    ASSERT_EQ(relative.status, 0) << relative.err;
    EXPECT_EQ(decode(dir.path("-x.mkv")).frames.size(), 3u);
}

TEST(Interrupt, CtrlCLeavesNoOutput) {
    ScratchDir dir;
    make_cast_clip(dir.path("long.mkv"), 400, "320x240");
    const std::vector<std::string> before = dir.names();
    // One pass, and the first of --steady's two.
    for (const char* mode : {"--quiet", "--steady"}) {
        const pid_t pid = fork();
        if (pid == 0) {
            setpgid(0, 0);  // its own group, as a shell job gets, so Ctrl-C reaches ffmpeg too
            execl(KELVRA_EXE, KELVRA_EXE, dir.path("long.mkv").c_str(), dir.path("out.mp4").c_str(),
                  "--quiet", mode, "--stats", dir.path("s.csv").c_str(), static_cast<char*>(nullptr));
            _exit(127);
        }
        // Wait for the temporary outputs to appear, then press Ctrl-C.
        bool started = false;
        for (int i = 0; i < 500 && !started; ++i) {
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
            started = dir.names().size() > before.size() + 1;
        }
        ASSERT_TRUE(started) << mode;
        kill(-pid, SIGINT);
        int status = 0;
        waitpid(pid, &status, 0);
        ASSERT_TRUE(WIFEXITED(status));
        EXPECT_EQ(WEXITSTATUS(status), 130) << mode;
        EXPECT_EQ(dir.names(), before) << mode;
    }
}

}  // namespace
