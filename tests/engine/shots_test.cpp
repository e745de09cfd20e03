// SPDX-License-Identifier: GPL-2.0-or-later
// The cut detector on plain pictures: flashes, fades and motion are no cuts,
// cuts between shots of one tone are, and the lists win over the scores.
#include "time/shots.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <optional>
#include <vector>

#include "plugin/end_points.h"
#include "time/thumbnail.h"

namespace {

// A picture for the detector: its histograms' coarse shape and its thumbnail.
struct Sight {
    kelvra::FrameReport report{};
    kelvra::Thumbnail thumbnail{};
};

// A 64x48 frame of one value, or of `dark` with a 16x12 block of `bright` at
// (x, y): every frame with the block inside has the same histograms.
Sight sight_of(int dark, int bright = -1, int x = 0, int y = 0) {
    constexpr int w = 64, h = 48;
    std::vector<uint32_t> pixels(w * h);
    int counts[256] = {};
    for (int row = 0; row < h; ++row) {
        for (int column = 0; column < w; ++column) {
            const bool block = bright >= 0 && column >= x && column < x + 16 && row >= y && row < y + 12;
            const uint32_t v = uint32_t(block ? bright : dark);
            pixels[row * w + column] = 0xFF000000u | v << 16 | v << 8 | v;
            ++counts[v];
        }
    }
    Sight s;
    for (auto& channel : s.report.shape)
        for (int v = 0; v < 256; ++v) channel[v / 8] = uint16_t(channel[v / 8] + counts[v] * 65535 / (w * h));
    kelvra::make_thumbnail(pixels.data(), w, h, s.thumbnail);
    return s;
}

struct Calls {
    std::vector<bool> starts;
    std::vector<double> scores;
};

Calls calls_of(const std::vector<Sight>& frames, const kelvra::CutRules& rules) {
    kelvra::ShotFinder finder(rules);
    Calls calls;
    const auto keep = [&](const std::optional<kelvra::ShotCall>& call) {
        if (!call) return;
        calls.starts.push_back(call->shot_start);
        calls.scores.push_back(call->cut_score);
    };
    for (const Sight& frame : frames) keep(finder.next(frame.report, frame.thumbnail));
    while (const std::optional<kelvra::ShotCall> call = finder.end()) keep(call);
    return calls;
}

TEST(SceneCuts, AFlashAndAFadeAreNoCutsAndTheListsWin) {
    // Uniform frames of these values: frame 4 a flash; 7..11 a fade moving
    // 40 values a frame (past the shift the default takes); a cut at 14; a
    // flash of two frames at 18 and 19.
    std::vector<Sight> frames;
    for (const int v :
         {36, 36, 36, 164, 36, 36, 76, 116, 156, 196, 236, 236, 236, 4, 4, 4, 4, 132, 132, 4, 4})
        frames.push_back(sight_of(v));
    std::vector<bool> want(frames.size(), false);
    want[0] = want[13] = true;
    EXPECT_EQ(calls_of(frames, {kelvra::kDefaultSensitivity, {}, {}}).starts, want);
    want[13] = false, want[5] = true;
    EXPECT_EQ(calls_of(frames, {kelvra::kDefaultSensitivity, {6}, {14}}).starts, want);
    // --cut-at alone: only there.
    EXPECT_EQ(calls_of(frames, {std::nullopt, {6}, {}}).starts, want);
}

TEST(SceneCuts, CutsBetweenShotsOfOneToneAreFoundAndMotionIsNot) {
    // Four shots of a dark frame with one bright block, the same histograms
    // throughout: a slow pan, a fast pan (5 pixels a frame), a still shot
    // whose block jumps back and forth for one frame (a passer-by), a shot
    // of slow motion. Only the thumbnails see the cuts at 11, 21 and 31.
    std::vector<Sight> frames;
    for (int f = 0; f < 10; ++f) frames.push_back(sight_of(30, 200, 4 + f, 6));
    for (int f = 0; f < 10; ++f) frames.push_back(sight_of(30, 200, f * 5, 30));
    for (int f = 0; f < 10; ++f) frames.push_back(sight_of(30, 200, f == 5 ? 30 : 44, 20));
    for (int f = 0; f < 10; ++f) frames.push_back(sight_of(30, 200, 20, 2 + f / 2));
    const std::vector<size_t> cuts = {10, 20, 30};
    const Calls calls = calls_of(frames, {kelvra::kDefaultSensitivity, {}, {}});
    std::vector<bool> want(frames.size(), false);
    want[0] = true;
    for (const size_t cut : cuts) want[cut] = true;
    EXPECT_EQ(calls.starts, want);
    // The score is the sensitivity's scale: S takes what scores above 100 - S.
    for (int s = 0; s <= 100; s += 5) {
        const Calls at = calls_of(frames, {s, {}, {}});
        ASSERT_EQ(at.scores, calls.scores);
        for (size_t f = 1; f < frames.size(); ++f)
            EXPECT_EQ(at.starts[f], calls.scores[f] > 100 - s) << "sensitivity " << s << ", frame " << f + 1;
    }
}

TEST(SceneCuts, ThumbnailCellsAreTheMeansOfTheirPixels) {
    // Four quadrants of a frame large enough to be sampled, in BGRA.
    constexpr int w = 1280, h = 720;
    const uint32_t quadrant[2][2] = {{0xFF102030u, 0xFF405060u}, {0xFF708090u, 0xFFA0B0C0u}};
    std::vector<uint32_t> pixels(size_t(w) * h);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) pixels[size_t(y) * w + x] = quadrant[y >= h / 2][x >= w / 2];
    kelvra::Thumbnail t;
    kelvra::make_thumbnail(pixels.data(), w, h, t);
    for (int row = 0; row < kelvra::kThumbnailCells; ++row) {
        for (int column = 0; column < kelvra::kThumbnailCells; ++column) {
            const uint32_t p = quadrant[row >= 4][column >= 4];
            EXPECT_EQ(t.mean[row][column][0], float(p & 0xFF));
            EXPECT_EQ(t.mean[row][column][1], float(p >> 8 & 0xFF));
            EXPECT_EQ(t.mean[row][column][2], float(p >> 16 & 0xFF));
        }
    }
}

}  // namespace
