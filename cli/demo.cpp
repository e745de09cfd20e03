// `kelvra demo`: a short clip with a visible colour cast, made from ffmpeg's
// own sources, corrected, with a before/after picture of its middle frame.
#include <sys/stat.h>

#include <cerrno>
#include <cstdio>
#include <cstring>

#include "input_check.h"
#include "process.h"
#include "run.h"

namespace kelvra::cli {
namespace {

// Slowly moving colour gradients (dark, white, skin, sky and grass tones)
// seen by a camera that lifts the blacks, dims the highlights and tints
// everything blue, with a tone so the copied audio shows.
const char* const kCastClip =
    "gradients=size=640x360:rate=25:duration=4:speed=0.02:nb_colors=5:c0=0x101010:c1=0xf8f8f8:c2=0xa87850:"
    "c3=0x5088c0:c4=0x60a040,format=rgb24,"
    "colorlevels=romin=0.08:romax=0.80:gomin=0.10:gomax=0.88:bomin=0.18:bomax=0.97";

bool make_folders(const std::string& path, std::string& error) {
    for (size_t slash = path.find('/', 1);; slash = path.find('/', slash + 1)) {
        const std::string part = path.substr(0, slash);
        if (mkdir(part.c_str(), 0777) != 0 && errno != EEXIST) {
            error = "cannot make folder \"" + part + "\": " + std::strerror(errno);
            return false;
        }
        if (slash == std::string::npos) return true;
    }
}

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
                                                  "sine=frequency=330:duration=4",
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

    Options job;
    job.input = sample;
    job.output = o.output + "/corrected.mp4";
    job.compare_path = o.output + "/before-after.png";
    job.force = true;
    job.quiet = o.quiet;
    const Outcome outcome = run_file(job);
    if (outcome.status != 0) return outcome;
    std::printf("kelvra demo: clip with a colour cast  %s\n", sample.c_str());
    std::printf("             corrected clip          %s\n", job.output.c_str());
    std::printf("             before | after          %s\n", job.compare_path.c_str());
    return outcome;
}

}  // namespace kelvra::cli
