// SPDX-License-Identifier: GPL-2.0-or-later
// `kelvra demo`: a short clip with a visible colour cast, made from ffmpeg's
// own sources, corrected, with a before/after picture of its middle frame.
#include <cstdio>

#include "command/run.h"
#include "input/input_check.h"
#include "options/options.h"
#include "output/output_file.h"
#include "process/process.h"

namespace kelvra::cli {
namespace {

// Five shots of 40 frames from ffmpeg's own sources, each seen by a camera
// with its own cast (lifted blacks, dimmed highlights, a tint), joined with
// hard cuts: slowly moving gradients (dark, white, skin, sky and grass
// tones), a test pattern with a photo flash in its middle, a zoom into a
// fractal, other gradients, and the test pattern again under another cast.
// A tone plays, so the copied audio shows. The gradients have seeds, so the
// demo and the README's figures from it are the same every time.
const char* const kCastClip =
    "gradients=size=640x360:rate=25:speed=0.02:seed=2:nb_colors=5:c0=0x101010:c1=0xf8f8f8:c2=0xa87850:"
    "c3=0x5088c0:c4=0x60a040,format=rgb24,"
    "colorlevels=romin=0.08:romax=0.80:gomin=0.10:gomax=0.88:bomin=0.18:bomax=0.97,trim=end_frame=40[s0];"
    "testsrc2=size=640x360:rate=25,format=rgb24,colorlevels=romin=0.12:gomax=0.82:bomax=0.75,"
    "colorlevels=rimax=0.45:gimax=0.45:bimax=0.45:enable=eq(n\\,20),trim=end_frame=40[s1];"
    "mandelbrot=size=640x360:rate=25,format=rgb24,colorlevels=romax=0.78:gomin=0.14:bomin=0.06,"
    "trim=end_frame=40[s2];"
    "gradients=size=640x360:rate=25:speed=0.03:seed=1:c0=0x302010:c1=0xe0d0b0:c2=0x806040,format=rgb24,"
    "colorlevels=romin=0.02:gomin=0.16:gomax=0.74:bomin=0.10,trim=end_frame=40[s3];"
    "testsrc2=size=640x360:rate=25,format=rgb24,colorlevels=romax=0.72:gomin=0.05:bomin=0.20,"
    "trim=end_frame=40[s4];"
    "[s0][s1][s2][s3][s4]concat=n=5,setpts=N/25/TB[out0]";

// The three ways of choosing levels the demo shows side by side.
struct DemoRun {
    const char* name;
    std::vector<std::string> options;
};

}  // namespace

Outcome run_demo(const Options& o) {
    std::string error;
    const std::optional<Tools> tools = find_tools(error);
    if (!tools || !make_folders(o.output, error)) return {1, error};

    const std::string sample = o.output + "/sample-with-cast.mp4";
    const std::vector<std::string> make_sample = {tools->ffmpeg,
                                                  "-hide_banner",
                                                  "-nostdin",
                                                  "-v",
                                                  "error",
                                                  "-y",
                                                  "-f",
                                                  "lavfi",
                                                  "-i",
                                                  kCastClip,
                                                  "-f",
                                                  "lavfi",
                                                  "-i",
                                                  "sine=frequency=330:duration=8",
                                                  "-c:v",
                                                  "libx264",
                                                  "-pix_fmt",
                                                  "yuv420p",
                                                  "-colorspace",
                                                  "bt709",
                                                  "-color_primaries",
                                                  "bt709",
                                                  "-color_trc",
                                                  "bt709",
                                                  "-color_range",
                                                  "tv",
                                                  "-c:a",
                                                  "aac",
                                                  "-shortest",
                                                  "file:" + sample};
    if (!run_capture(make_sample, error)) return {1, "cannot make the demo clip: " + error};

    // The default run also makes the before/after picture of a frame in the
    // first shot, where the cast is strongest.
    const DemoRun runs[3] = {
        {"default", {"--compare"}}, {"scene-cuts", {"--scene-cuts"}}, {"steady", {"--steady"}}};
    std::string error_line;
    for (const DemoRun& run : runs) {
        const std::vector<std::string> args = {sample,
                                               o.output + "/corrected-" + run.name + ".mp4",
                                               "--force",
                                               "--stats",
                                               o.output + "/levels-" + run.name + ".csv",
                                               "--plot",
                                               o.output + "/levels-" + run.name + ".png"};
        std::vector<std::string> all = args;
        for (const std::string& option : run.options) {
            all.push_back(option);
            if (option == "--compare")
                all.insert(all.end(), {o.output + "/before-after.png", "--compare-frame", "20"});
        }
        if (o.quiet) all.push_back("--quiet");
        const std::optional<Options> job = parse_arguments(all, error_line);
        if (!job) return {1, error_line};
        const Outcome outcome = run_file(*job);
        if (outcome.status != 0) return outcome;
    }
    const char* const folder = o.output.c_str();
    std::printf("kelvra demo: five shots with colour casts  %s\n", sample.c_str());
    std::printf("             corrected three ways          %s/corrected-{default,scene-cuts,steady}.mp4\n",
                folder);
    std::printf(
        "             their levels, frame by frame  %s/levels-{default,scene-cuts,steady}.{csv,png}\n",
        folder);
    std::printf("             before | after, frame 20      %s/before-after.png\n", folder);
    return {};
}

}  // namespace kelvra::cli
