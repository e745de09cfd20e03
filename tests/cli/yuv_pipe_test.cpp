// SPDX-License-Identifier: GPL-2.0-or-later
// YUV frames cross the pipes as decoded and are converted in the tool; the
// engine must still receive, and the encoder still get, the bytes of the
// two-process pipeline with ffmpeg's scale filter on each side. That
// pipeline is run here with ffmpeg alone, and --disable lets the frames
// pass unchanged so both ends can be compared exactly.
#include <gtest/gtest.h>

#include <fstream>

#include "helpers.h"
#include "input/file_decoder.h"

namespace {

const std::string kFlags = "scale=flags=bicubic+accurate_rnd+full_chroma_int";

struct YuvCase {
    const char* name;
    std::string size, pix_fmt;
    std::vector<std::string> tags;  // ffmpeg output options for the input clip
    std::string in_scale, out_scale, out_pix_fmt;
};

void PrintTo(const YuvCase& c, std::ostream* os) { *os << c.name; }

// With --disable and a lossless output, the frames the engine received come
// out unchanged: compared with `want`, raw BGRA, alpha aside.
void expect_engine_gets(const std::string& in, const std::string& want, const ScratchDir& dir) {
    const RunResult r = run_kelvra({in, dir.path("rgb.mkv"), "-f", "--disable", "--codec", "ffv1"});
    ASSERT_EQ(r.status, 0) << r.err;
    ffmpeg({"-i", "file:" + dir.path("rgb.mkv"), "-f", "rawvideo", "-pix_fmt", "bgr0",
            "file:" + dir.path("got_rgb.raw")});
    const std::string want_rgb = read_file(want), got_rgb = read_file(dir.path("got_rgb.raw"));
    ASSERT_EQ(got_rgb.size(), want_rgb.size()) << in;
    for (size_t i = 0; i < want_rgb.size(); i += 4)
        ASSERT_EQ(got_rgb.compare(i, 3, want_rgb, i, 3), 0) << in << ": RGB differs at pixel " << i / 4;
}

class YuvPipe : public testing::TestWithParam<YuvCase> {};

TEST_P(YuvPipe, FramesAreTheScaleFiltersBothWays) {
    const YuvCase& c = GetParam();
    ScratchDir dir;
    const std::string in = dir.path("in.mkv");
    std::vector<std::string> make = {
        "-f",        "lavfi",  "-i",   "testsrc2=size=64x48:rate=25,scale=size=" + c.size,
        "-frames:v", "5",      "-c:v", "ffv1",
        "-pix_fmt",  c.pix_fmt};
    make.insert(make.end(), c.tags.begin(), c.tags.end());
    make.push_back("file:" + in);
    ffmpeg(make);

    // The former decoder, then the former encoder's conversion, through a file.
    ffmpeg({"-i", "file:" + in, "-vf", kFlags + c.in_scale, "-f", "rawvideo", "-pix_fmt", "bgra",
            "file:" + dir.path("rgb.raw")});
    ffmpeg({"-f", "rawvideo", "-pix_fmt", "bgr0", "-video_size", c.size, "-framerate", "25", "-i",
            "file:" + dir.path("rgb.raw"), "-vf", kFlags + c.out_scale, "-pix_fmt", c.out_pix_fmt, "-f",
            "rawvideo", "file:" + dir.path("yuv.raw")});

    expect_engine_gets(in, dir.path("rgb.raw"), dir);

    RunResult r = run_kelvra({in, dir.path("yuv.mkv"), "--disable", "--codec", "libx264", "--crf", "0"});
    ASSERT_EQ(r.status, 0) << r.err;
    // As decoded: full range comes back as yuvj420p, the same bytes.
    ffmpeg({"-i", "file:" + dir.path("yuv.mkv"), "-f", "rawvideo", "file:" + dir.path("got_yuv.raw")});
    EXPECT_TRUE(read_file(dir.path("got_yuv.raw")) == read_file(dir.path("yuv.raw")))
        << "the encoder got other YUV than the scale filter gives";
}

INSTANTIATE_TEST_SUITE_P(
    Inputs, YuvPipe,
    testing::Values(
        YuvCase{"Untagged420", "64x48", "yuv420p", {}, "", ":out_range=tv", "yuv420p"},
        YuvCase{"Bt709Limited420",
                "64x48",
                "yuv420p",
                {"-colorspace", "bt709", "-color_range", "tv"},
                ":in_color_matrix=bt709:in_range=tv",
                ":out_range=tv:out_color_matrix=bt709",
                "yuv420p"},
        YuvCase{"FullRangeJpeg420", "64x48", "yuvj420p", {"-c:v", "mjpeg"}, "", ":out_range=pc", "yuv420p"},
        YuvCase{"Bt470bg422",
                "64x48",
                "yuv422p",
                {"-colorspace", "bt470bg"},
                ":in_color_matrix=bt470",
                ":out_range=tv:out_color_matrix=bt470",
                "yuv420p"},
        YuvCase{"Smpte240mFull444",
                "64x48",
                "yuv444p",
                {"-colorspace", "smpte240m", "-color_range", "pc"},
                ":in_color_matrix=smpte240m:in_range=pc",
                ":out_range=pc:out_color_matrix=smpte240m",
                "yuv420p"},
        // Odd sizes are written 4:4:4.
        YuvCase{"OddSize", "63x47", "yuv444p", {}, "", ":out_range=tv", "yuv444p"}),
    [](const testing::TestParamInfo<YuvCase>& info) { return info.param.name; });

// Inter-coded inputs are decoded in the tool's own process; the engine must
// get what the ffmpeg decoder process gave: every frame, in order, with a
// stream that changes size and format on the way scaled back to its first.
TEST(DecodedInProcess, EveryFrameAsTheFfmpegDecoderGaveIt) {
    ScratchDir dir;
    const auto clip = [&](const std::string& size, const std::vector<std::string>& codec,
                          const std::string& name) {
        std::vector<std::string> make = {"-f",        "lavfi", "-i", "testsrc2=size=" + size + ":rate=25",
                                         "-frames:v", "12"};
        make.insert(make.end(), codec.begin(), codec.end());
        make.push_back("file:" + dir.path(name));
        ffmpeg(make);
    };
    clip("64x48", {"-c:v", "libx264", "-bf", "3", "-g", "6", "-pix_fmt", "yuv420p"}, "whole.mp4");
    ffmpeg(
        {"-ss", "0.2", "-i", "file:" + dir.path("whole.mp4"), "-c", "copy", "file:" + dir.path("cut.mp4")});
    clip("64x48", {"-c:v", "mpeg2video", "-bf", "2"}, "broadcast.ts");
    clip("64x48", {"-c:v", "mpeg2video"}, "a.m2v");
    clip("32x32", {"-c:v", "mpeg2video", "-pix_fmt", "yuv422p", "-color_range", "pc"}, "b.m2v");
    std::ofstream(dir.path("changing.m2v"), std::ios::binary)
        << read_file(dir.path("a.m2v")) << read_file(dir.path("b.m2v")) << read_file(dir.path("a.m2v"));

    for (const char* name : {"cut.mp4", "broadcast.ts", "changing.m2v"}) {
        const std::string in = dir.path(name);
        ffmpeg({"-threads", "1", "-i", "file:" + in, "-map", "0:v", "-fps_mode", "passthrough", "-f",
                "rawvideo", "-pix_fmt", "yuv420p", "file:" + dir.path("yuv.raw")});
        ffmpeg({"-f", "rawvideo", "-pix_fmt", "yuv420p", "-video_size", "64x48", "-i",
                "file:" + dir.path("yuv.raw"), "-vf", kFlags, "-f", "rawvideo", "-pix_fmt", "bgra",
                "file:" + dir.path("want.raw")});
        expect_engine_gets(in, dir.path("want.raw"), dir);
    }
}

// The video's first frame, shown after its first packet's decode delay and
// a late start, is timed as ffprobe times it.
TEST(DecodedInProcess, FirstFrameTimeIsFfprobes) {
    ScratchDir dir;
    const std::string in = dir.path("late.mkv");
    ffmpeg({"-f",        "lavfi", "-i",      "sine", "-itsoffset",
            "0.1",       "-f",    "lavfi",   "-i",   "testsrc2=size=64x48:rate=30000/1001",
            "-t",        "0.4",   "-map",    "1:v",  "-map",
            "0:a",       "-c:v",  "libx264", "-bf",  "2",
            "file:" + in});
    const RunResult probe = run_program({"ffprobe", "-v", "error", "-select_streams", "0", "-read_intervals",
                                         "%+#1", "-show_entries", "frame=best_effort_timestamp_time", "-of",
                                         "default=nw=1:nk=1", "file:" + in});
    const std::optional<double> got = kelvra::cli::FileDecoder::read_facts(in, 0).value().first_frame_time;
    ASSERT_TRUE(got.has_value());
    EXPECT_GT(*got, 0.1);
    EXPECT_EQ(*got, std::stod(probe.out));
}

}  // namespace
