// SPDX-License-Identifier: GPL-2.0-or-later
// Many inputs into one folder: each file as its own run would write it,
// under its own name and container, with reports named after it; a file
// that fails or is interrupted leaves nothing and stops no other.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <fstream>
#include <thread>

#include "helpers.h"

namespace {

std::string container_of(const std::string& file) {
    return run_program({"ffprobe", "-v", "error", "-show_entries", "format=format_name", "-of",
                        "default=nw=1:nk=1", "file:" + file})
        .out;
}

// Every name in the folder, hidden ones too, in byte order.
std::string listing(const std::string& folder) {
    return run_program({"ls", "-A", folder}, "", {{"LC_ALL", "C"}}).out;
}

TEST(Batch, EachFileAsAloneAndADamagedOneLeavesNothing) {
    ScratchDir dir;
    make_cast_clip(dir.path("a.mkv"), 4);
    ffmpeg({"-f", "lavfi", "-i", "testsrc2=size=64x48:rate=25", "-frames:v", "6", "-c:v", "libx264",
            "file:" + dir.path("b.mp4")});
    ffmpeg({"-f", "lavfi", "-i", "testsrc2=size=32x24", "-frames:v", "1", "file:" + dir.path("c.png")});
    std::ofstream(dir.path("broken.mp4")) << "not a video at all";
    const std::string out = dir.path("out/sub");
    const RunResult r = run_kelvra({dir.path("a.mkv"), dir.path("broken.mp4"), dir.path("b.mp4"),
                                    dir.path("c.png"), "--out-dir", out, "--stats", "levels.csv", "-j", "2"});

    EXPECT_EQ(r.status, 1);
    const std::string broken = dir.path("broken.mp4");
    const std::string reason = "kelvra: error: " + broken + ": cannot read \"" + broken + "\" as a video";
    EXPECT_EQ(r.err.rfind(reason, 0), 0u) << r.err;
    EXPECT_EQ(std::count(r.err.begin(), r.err.end(), '\n'), 2) << r.err;
    EXPECT_NE(r.err.find("\nkelvra: error: 3 of 4 files written; 1 failed\n"), std::string::npos) << r.err;
    EXPECT_EQ(listing(out), "a-levels.csv\na.mkv\nb-levels.csv\nb.mp4\nc-levels.csv\nc.png\n");
    for (const std::string name : {"a.mkv", "b.mp4", "c.png"})
        EXPECT_EQ(container_of(out + "/" + name), container_of(dir.path(name))) << name;
    EXPECT_EQ(decode(out + "/b.mp4").frames.size(), 6u);

    // The same levels and the same frames as the file's own run.
    const RunResult alone =
        run_kelvra({dir.path("a.mkv"), dir.path("alone.mkv"), "--stats", dir.path("alone.csv")});
    ASSERT_EQ(alone.status, 0) << alone.err;
    EXPECT_EQ(read_stats(out + "/a-levels.csv"), read_stats(dir.path("alone.csv")));
    EXPECT_EQ(decode(out + "/a.mkv").frames, decode(dir.path("alone.mkv")).frames);
    EXPECT_EQ(read_stats(out + "/b-levels.csv").size(), 6u);
}

// Ctrl-C once the short file is done: it stays; the long one under way
// leaves nothing, neither its video nor its statistics.
TEST(Batch, CtrlCKeepsTheFilesDone) {
    ScratchDir dir;
    make_cast_clip(dir.path("short.mkv"), 3);
    make_cast_clip(dir.path("long.mkv"), 400, "320x240");
    const std::string out = dir.path("out");
    const pid_t pid = fork();
    if (pid == 0) {
        setpgid(0, 0);  // its own group, as a shell job gets, so Ctrl-C reaches every process of it
        execl(KELVRA_EXE, KELVRA_EXE, dir.path("long.mkv").c_str(), dir.path("short.mkv").c_str(),
              "--out-dir", out.c_str(), "--jobs", "2", "--stats", "s.csv", static_cast<char*>(nullptr));
        _exit(127);
    }
    bool done = false;
    for (int i = 0; i < 500 && !done; ++i) {
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
        done = access((out + "/short-s.csv").c_str(), F_OK) == 0;
    }
    ASSERT_TRUE(done);
    kill(-pid, SIGINT);
    int status = 0;
    waitpid(pid, &status, 0);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 130);
    EXPECT_EQ(listing(out), "short-s.csv\nshort.mkv\n");
}

}  // namespace
