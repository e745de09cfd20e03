// YUV frames cross the pipes as decoded and are converted in the tool; the
// engine must still receive, and the encoder still get, the bytes of the
// two-process pipeline with ffmpeg's scale filter on each side. That
// pipeline is run here with ffmpeg alone, and --disable lets the frames
// pass unchanged so both ends can be compared exactly.
#include <gtest/gtest.h>

#include "helpers.h"

namespace {

const std::string kFlags = "scale=flags=bicubic+accurate_rnd+full_chroma_int";

struct YuvCase {
    const char* name;
    std::string size, pix_fmt;
    std::vector<std::string> tags;  // ffmpeg output options for the input clip
    std::string in_scale, out_scale, out_pix_fmt;
};

void PrintTo(const YuvCase& c, std::ostream* os) { *os << c.name; }

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

    RunResult r = run_kelvra({in, dir.path("rgb.mkv"), "--disable", "--codec", "ffv1"});
    ASSERT_EQ(r.status, 0) << r.err;
    ffmpeg({"-i", "file:" + dir.path("rgb.mkv"), "-f", "rawvideo", "-pix_fmt", "bgr0",
            "file:" + dir.path("got_rgb.raw")});
    const std::string want_rgb = read_file(dir.path("rgb.raw")), got_rgb = read_file(dir.path("got_rgb.raw"));
    ASSERT_EQ(got_rgb.size(), want_rgb.size());
    for (size_t i = 0; i < want_rgb.size(); i += 4)
        ASSERT_EQ(got_rgb.compare(i, 3, want_rgb, i, 3), 0) << "RGB differs at pixel " << i / 4;

    r = run_kelvra({in, dir.path("yuv.mkv"), "--disable", "--codec", "libx264", "--crf", "0"});
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

}  // namespace
