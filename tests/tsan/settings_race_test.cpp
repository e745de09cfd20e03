// SPDX-License-Identifier: GPL-2.0-or-later
// One thread renders frame after frame while another edits the settings the
// way the dialog and the script command do. Under ThreadSanitizer no access
// may race, and every frame must equal the plain implementation's for one
// value of each setting: a value the field held while the frame ran.
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <random>
#include <thread>
#include <vector>

#include "dialog/dialog_rules.h"
#include "dialog/settings_edit.h"
#include "pass/frame_pass.h"
#include "plain_filter.h"
#include "test_frames.h"

using kelvra::FilterData;

namespace {

constexpr int kWidth = 24, kHeight = 16;

// The settings the frame pass reads, as members, in one order.
constexpr int32_t FilterData::*kFields[] = {
    &FilterData::level,          &FilterData::border, &FilterData::disable, &FilterData::dialog_closed,
    &FilterData::show_histogram, &FilterData::soft,   &FilterData::freeze,  &FilterData::nup,
    &FilterData::nleft,          &FilterData::nright, &FilterData::ndown,
};
constexpr int kFieldCount = sizeof kFields / sizeof kFields[0];

struct Write {
    int field;
    int32_t value;
};

// The writer announces the writes of one edit before it makes them and
// counts them done afterwards: a frame that ran between "done = a" and
// "announced = b" can have seen any of the writes a..b-1 and none later.
// The writer makes at most two edits a frame, so a ring of writes holds
// every write a frame may still need.
struct EditLog {
    static constexpr size_t kRing = 1024;
    std::vector<Write> writes = std::vector<Write>(kRing);
    Write& at(size_t i) { return writes[i % kRing]; }
    std::atomic<size_t> announced{0}, done{0};
    std::atomic<int> frames_started{0};  // paces the writer
};

// One random edit as the dialog or the script command makes it.
void edit(FilterData& fd, std::mt19937& rng) {
    auto pick = [&](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng); };
    switch (pick(0, 8)) {
        case 0:
            kelvra::begin_dialog(fd);
            break;
        case 1:
            kelvra::cancel_dialog(fd);
            break;
        case 2:
            kelvra::accept_dialog(fd);
            break;
        case 3:
            kelvra::store_relaxed(fd.level, pick(1, 500));
            break;
        case 4: {
            const auto which = kelvra::Offset(pick(0, 3));
            const bool vertical = which == kelvra::Offset::Up || which == kelvra::Offset::Down;
            kelvra::move_offset(fd, which, pick(1, kelvra::offset_slider_max(vertical ? kHeight : kWidth)));
            break;
        }
        case 5: {
            int32_t* flags[] = {&fd.border, &fd.soft, &fd.freeze, &fd.disable, &fd.show_histogram};
            kelvra::set_flag(*flags[pick(0, 4)], pick(0, 1));
            break;
        }
        default: {
            const int32_t values[kelvra::kScriptValues] = {pick(-5, 600), pick(0, 1),   pick(0, 1),
                                                           pick(-2, 20),  pick(-2, 30), pick(-2, 30),
                                                           pick(-2, 20)};
            kelvra::apply_config(fd, values);
        }
    }
}

void writer(FilterData& shared, FilterData shadow, EditLog& log, const std::atomic<bool>& stop) {
    std::mt19937 rng(99);
    int frame = 0, edits_in_frame = 0;
    while (!stop.load()) {
        // Two edits a frame at most, also after the writer was starved for a
        // while, so a frame overlaps only a few writes.
        while (edits_in_frame == 2 && log.frames_started.load() == frame && !stop.load())
            std::this_thread::yield();
        if (log.frames_started.load() != frame) {
            frame = log.frames_started.load();
            edits_in_frame = 0;
        }
        ++edits_in_frame;
        // The shadow record tells which settings this edit changes.
        FilterData before = shadow;
        std::mt19937 replay = rng;
        edit(shadow, rng);
        size_t end = log.announced.load(std::memory_order_relaxed);
        for (int f = 0; f < kFieldCount; ++f)
            if (before.*kFields[f] != shadow.*kFields[f]) log.at(end++) = Write{f, shadow.*kFields[f]};
        log.announced.store(end, std::memory_order_release);
        edit(shared, replay);
        log.done.store(end, std::memory_order_release);
        // A short, uneven pause, so edits land at every point of a frame.
        for (int spin = std::uniform_int_distribution<int>(0, 20000)(rng); spin > 0; --spin)
            std::atomic_signal_fence(std::memory_order_seq_cst);
    }
}

}  // namespace

TEST(SettingsRace, EveryFrameUsesOneValueOfEachSetting) {
    FilterData shared = fresh_record(kWidth, kHeight);
    const FilterData start = shared;
    EditLog log;
    std::atomic<bool> stop{false};
    std::thread edits(writer, std::ref(shared), start, std::ref(log), std::cref(stop));

    while (log.done.load() == 0) std::this_thread::yield();  // the writer is running

    std::mt19937 rng(5);
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    FilterData known = start;  // settings as of log.done, replayed by this thread
    size_t replayed = 0;
    int frames = 0, checked = 0, raced = 0;
    // Until enough frames overlapped an edit: on a loaded machine the two
    // threads share a core and overlap only where one is preempted.
    for (; !(frames >= 2000 && raced >= 300) && std::chrono::steady_clock::now() < deadline; ++frames) {
        const Image src = natural_image(kWidth, kHeight, rng);
        const size_t first = log.done.load(std::memory_order_acquire);
        for (; replayed < first; ++replayed) known.*kFields[log.at(replayed).field] = log.at(replayed).value;
        // History and current belong to the frame pass: this thread.
        FilterData before = start;
        std::copy(&shared.history[0][0], &shared.history[0][0] + 30, &before.history[0][0]);
        std::copy(shared.current, shared.current + 6, before.current);
        log.frames_started.store(frames + 1);  // lets the next edit land in this frame
        const Image out = run_engine(shared, src);
        const size_t last = log.announced.load(std::memory_order_acquire);

        // Each setting may have held its value at `first` or any value
        // written up to `last`.
        std::vector<std::vector<int32_t>> choices(kFieldCount);
        for (int f = 0; f < kFieldCount; ++f) choices[f] = {known.*kFields[f]};
        for (size_t i = first; i < last; ++i) choices[log.at(i).field].push_back(log.at(i).value);
        size_t combinations = 1;
        for (const auto& c : choices) combinations *= c.size();
        if (combinations > 256) continue;
        raced += last > first;
        ++checked;

        bool matched = false;
        for (size_t n = 0; n < combinations && !matched; ++n) {
            FilterData oracle = before;
            for (int f = 0, rest = int(n); f < kFieldCount; rest /= int(choices[f].size()), ++f)
                oracle.*kFields[f] = choices[f][rest % choices[f].size()];
            std::vector<uint32_t> want(src.px.size());
            plain::frame_pass(oracle, src.px, want, kWidth, kHeight);
            matched = want == out.px;
        }
        ASSERT_TRUE(matched) << "frame " << frames << " mixes values of a setting";
    }
    stop = true;
    edits.join();
    EXPECT_GT(checked, frames / 2);
    EXPECT_GT(raced, 0) << "no frame ran while the settings changed";
}
