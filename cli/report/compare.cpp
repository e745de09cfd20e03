// SPDX-License-Identifier: GPL-2.0-or-later
#include "report/compare.h"

#include <unistd.h>

#include <algorithm>

#include "process/process.h"

namespace kelvra::cli {

std::vector<uint32_t> compose_compare(const std::vector<uint32_t>& before, const std::vector<uint32_t>& after,
                                      int32_t width, int32_t height) {
    const size_t w = size_t(width), row = 2 * w;
    std::vector<uint32_t> pic(row * size_t(height));
    for (size_t y = 0; y < size_t(height); ++y) {
        std::copy_n(&before[y * w], w, &pic[y * row]);
        std::copy_n(&after[y * w], w, &pic[y * row + w]);
    }
    return pic;
}

bool write_png(const std::string& ffmpeg, const std::vector<uint32_t>& pixels, int32_t width, int32_t height,
               const std::string& path, std::string& error) {
    std::optional<Pipe> in = make_pipe(error);
    if (!in) return false;
    Fd log = make_log_file();
    // Per-row filter choice: the same pixels in about two thirds of the bytes.
    const std::vector<std::string> args = {
        ffmpeg,        "-hide_banner", "-nostdin",    "-v",
        "error",       "-y",           "-f",          "rawvideo",
        "-pix_fmt",    "bgr0",         "-video_size", std::to_string(width) + "x" + std::to_string(height),
        "-i",          "pipe:0",       "-frames:v",   "1",
        "-c:v",        "png",          "-pred",       "mixed",
        "-f",          "image2",       "-update",     "1",
        "file:" + path};
    std::optional<Child> child = spawn(args, Stdio{in->read.get(), -1, log.get()}, error);
    if (!child) return false;
    in->read.reset();
    const char* data = reinterpret_cast<const char*>(pixels.data());
    size_t left = pixels.size() * 4;
    while (left > 0) {
        const ssize_t n = write(in->write.get(), data, left);
        if (n <= 0) break;
        data += n;
        left -= size_t(n);
    }
    in->write.reset();
    if (child->wait() != 0 || left > 0) {
        error = "cannot write the compare picture: " + log_summary(log.get());
        return false;
    }
    return true;
}

}  // namespace kelvra::cli
