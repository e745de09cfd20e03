// SPDX-License-Identifier: GPL-2.0-or-later
// Several live instances in one process, each on its own thread, as an
// editor renders several clips at once: under ThreadSanitizer no access may
// race, and each instance gives the frames it gives alone.
#include <gtest/gtest.h>

#include <random>
#include <thread>
#include <vector>

#include "test_frames.h"
#include "time/live_corrector.h"

namespace {

constexpr int kWidth = 48, kHeight = 32, kFrames = 8, kInstances = 3;

using Clip = std::vector<std::vector<uint32_t>>;

Clip corrected(const kelvra::LiveSettings& s, const Clip& in) {
    kelvra::LiveCorrector corrector(kWidth, kHeight);
    Clip out(in.size(), std::vector<uint32_t>(in[0].size()));
    for (size_t f = 0; f < in.size(); ++f)
        corrector.correct(s, 0.04 * double(f), in[f].data(), out[f].data());
    return out;
}

TEST(LiveInstances, EachThreadGetsWhatItsInstanceGivesAlone) {
    std::mt19937 rng(11);
    std::vector<Clip> clips(kInstances);
    std::vector<kelvra::LiveSettings> settings(kInstances);
    for (int i = 0; i < kInstances; ++i) {
        for (int f = 0; f < kFrames; ++f) clips[i].push_back(natural_image(kWidth, kHeight, rng).px);
        settings[i].level = 10 + 40 * i;
        settings[i].soft = i % 2;
        if (i > 0) settings[i].sensitivity = 50;
    }
    std::vector<Clip> alone(kInstances), together(kInstances);
    for (int i = 0; i < kInstances; ++i) alone[i] = corrected(settings[i], clips[i]);
    std::vector<std::thread> threads;
    for (int i = 0; i < kInstances; ++i)
        threads.emplace_back([&, i] { together[i] = corrected(settings[i], clips[i]); });
    for (std::thread& t : threads) t.join();
    for (int i = 0; i < kInstances; ++i) EXPECT_EQ(together[i], alone[i]) << "instance " << i;
}

}  // namespace
