// SPDX-License-Identifier: GPL-2.0-or-later
#include "bench_frames.h"

#include <cstdio>
#include <map>
#include <random>

const std::vector<FrameSize>& bench_sizes() {
    static const std::vector<FrameSize> sizes = {{640, 480}, {1920, 1080}, {3840, 2160}};
    return sizes;
}

std::string size_name(const FrameSize& size) { return std::to_string(size.w) + "x" + std::to_string(size.h); }

const Image& bench_picture(const FrameSize& size) {
    static std::map<std::pair<int, int>, Image> pictures;
    const auto key = std::make_pair(size.w, size.h);
    auto it = pictures.find(key);
    if (it == pictures.end()) {
        std::mt19937 rng(1000 + size.w);
        it = pictures.emplace(key, natural_image(size.w, size.h, rng)).first;
    }
    return it->second;
}

bool dump_pictures(const std::string& dir) {
    for (const FrameSize& size : bench_sizes()) {
        const std::string path = dir + "/" + size_name(size) + ".bgr0";
        std::FILE* f = std::fopen(path.c_str(), "wb");
        if (!f) return false;
        const Image& picture = bench_picture(size);
        const bool ok = std::fwrite(picture.px.data(), 4, picture.px.size(), f) == picture.px.size();
        if (std::fclose(f) != 0 || !ok) return false;
    }
    return true;
}
