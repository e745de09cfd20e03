// Bad input gets one clear line, a non-zero status, and leaves no file
// behind; unusual file names work; Ctrl-C leaves nothing.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
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
    expect_refused({in, out, "--compare", dir.path("c.png"), "--compare-frame", "5"},
                   "--compare-frame 5: the input has 4 frames");
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
    const pid_t pid = fork();
    if (pid == 0) {
        setpgid(0, 0);  // its own group, as a shell job gets, so Ctrl-C reaches ffmpeg too
        execl(KELVRA_EXE, KELVRA_EXE, dir.path("long.mkv").c_str(), dir.path("out.mp4").c_str(), "--quiet",
              static_cast<char*>(nullptr));
        _exit(127);
    }
    // Wait for the temporary output to appear, then press Ctrl-C.
    bool started = false;
    for (int i = 0; i < 500 && !started; ++i) {
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
        started = dir.names().size() > before.size();
    }
    ASSERT_TRUE(started);
    kill(-pid, SIGINT);
    int status = 0;
    waitpid(pid, &status, 0);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 130);
    EXPECT_EQ(dir.names(), before);
}

}  // namespace
