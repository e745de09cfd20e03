// SPDX-License-Identifier: GPL-2.0-or-later
// kelvra.so inside real hosts, each started here from its Debian package:
// ffmpeg's frei0r filter, MLT's melt and GStreamer's frei0r element give,
// frame for frame, the pixels `kelvra --raw` gives on the same BGRA frames
// with the same settings.
#include <gtest/gtest.h>
#include <unistd.h>

#include <fstream>
#include <map>
#include <string>
#include <vector>

#include "helpers.h"

namespace {

constexpr int kFrames = 18;
const std::string kSize = "64x48";

// Three shots of six frames, each its own pattern and cast: raw BGRA frames
// and the same frames lossless in Matroska.
struct Clip {
    ScratchDir dir;
    std::string raw = dir.path("in.raw"), mkv = dir.path("in.mkv");
    Clip() {
        make_shots_clip(mkv, kFrames / 3);
        ffmpeg({"-i", "file:" + mkv, "-f", "rawvideo", "-pix_fmt", "bgra", "file:" + raw});
    }
};

const std::map<std::string, std::string> kPluginPath = {{"FREI0R_PATH", KELVRA_FREI0R_DIR}};

std::string tool(const Clip& clip, std::vector<std::string> options) {
    options.insert(options.begin(), {"--raw", kSize, "-", "-"});
    const RunResult r = run_kelvra(options, read_file(clip.raw));
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out.size(), size_t(kFrames) * 64 * 48 * 4);
    return r.out;
}

bool installed(const std::string& program) {
    return run_program({"sh", "-c", "command -v " + program}).status == 0;
}

// Compares frame by frame, so a failure names the frame.
void expect_frames(const std::string& got, const std::string& want, const std::string& host) {
    ASSERT_EQ(got.size(), want.size()) << host;
    const size_t frame = 64 * 48 * 4;
    for (size_t f = 0; f * frame < want.size(); ++f)
        ASSERT_EQ(got.compare(f * frame, frame, want, f * frame, frame), 0) << host << ", frame " << f + 1;
}

std::string through_ffmpeg(const Clip& clip, const std::string& params) {
    const std::string out = clip.dir.path("ffmpeg.raw");
    const RunResult r = run_program({"ffmpeg",
                                     "-v",
                                     "error",
                                     "-y",
                                     "-f",
                                     "rawvideo",
                                     "-pix_fmt",
                                     "bgra",
                                     "-video_size",
                                     kSize,
                                     "-framerate",
                                     "25",
                                     "-i",
                                     "file:" + clip.raw,
                                     "-vf",
                                     "frei0r=kelvra" + params,
                                     "-f",
                                     "rawvideo",
                                     "-pix_fmt",
                                     "bgra",
                                     out},
                                    "", kPluginPath);
    EXPECT_EQ(r.status, 0) << r.err;
    return read_file(out);
}

TEST(Frei0rHosts, FfmpegGivesTheToolsFrames) {
    const Clip clip;
    const std::string plain = through_ffmpeg(clip, "");
    expect_frames(plain, tool(clip, {}), "defaults");
    // The plug-in's correction at strength 50, Soft, the border at 6 rows, 8,
    // 16 columns and 12 rows, the histograms drawn.
    const std::string set = through_ffmpeg(clip, ":0.1|y|y|0.125|0.125|0.25|0.25|y|n|0.5|y");
    expect_frames(set, tool(clip, {"--level", "50", "--soft", "--border", "6,8,16,12", "--histogram"}),
                  "every setting");
    EXPECT_NE(set, plain);
    expect_frames(through_ffmpeg(clip, ":0.05|n|n|0|0|0|0|n|y|0.7"), tool(clip, {"--scene-cuts=70"}),
                  "scene cuts");
}

TEST(Frei0rHosts, MeltRendersTheToolsFramesThroughMltsFrei0rModule) {
    if (!installed("melt")) GTEST_SKIP() << "melt is not installed";
    const Clip clip;
    const std::string profile = clip.dir.path("profile");
    // melt needs the description line.
    std::ofstream(profile)
        << "description=test\nwidth=64\nheight=48\nframe_rate_num=25\nframe_rate_den=1\nprogressive=1\n"
           "sample_aspect_num=1\nsample_aspect_den=1\ndisplay_aspect_num=4\n"
           "display_aspect_den=3\ncolorspace=601\n";
    for (const auto& [properties, options] :
         std::vector<std::pair<std::vector<std::string>, std::vector<std::string>>>{
             {{}, {}},
             {{"Strength=0.1", "Scene cuts=1", "Plug-in correction=1"}, {"--level", "50", "--scene-cuts"}}}) {
        const std::string out = clip.dir.path("melt.mkv");
        std::vector<std::string> argv = {"melt",   "-quiet",  "-profile",     profile,
                                         clip.mkv, "-filter", "frei0r.kelvra"};
        argv.insert(argv.end(), properties.begin(), properties.end());
        argv.insert(argv.end(), {"-consumer", "avformat:" + out, "vcodec=ffv1", "pix_fmt=bgra", "an=1"});
        const RunResult r = run_program(argv, "", kPluginPath);
        ASSERT_EQ(r.status, 0) << r.err;
        ffmpeg(
            {"-i", "file:" + out, "-f", "rawvideo", "-pix_fmt", "bgra", "file:" + clip.dir.path("melt.raw")});
        expect_frames(read_file(clip.dir.path("melt.raw")), tool(clip, options), "melt " + r.err);
    }
}

TEST(Frei0rHosts, GstLaunchRunsItThroughGStreamersFrei0rElement) {
    if (!installed("gst-launch-1.0")) GTEST_SKIP() << "gst-launch-1.0 is not installed";
    const Clip clip;
    std::map<std::string, std::string> env = kPluginPath;
    // A registry of its own, so the element is found without a user's cache.
    env["GST_REGISTRY"] = clip.dir.path("registry.bin");
    const std::string out = clip.dir.path("gst.raw");
    const RunResult r = run_program(
        {"gst-launch-1.0", "-q", "filesrc", "location=" + clip.raw, "!", "rawvideoparse", "width=64",
         "height=48", "format=bgra", "framerate=25/1", "!", "frei0r-filter-kelvra", "strength=0.1",
         "soft=true", "histogram=true", "plug-in-correction=true", "!", "filesink", "location=" + out},
        "", env);
    ASSERT_EQ(r.status, 0) << r.err;
    expect_frames(read_file(out), tool(clip, {"--level", "50", "--soft", "--histogram"}), "gst-launch-1.0");
}

}  // namespace
