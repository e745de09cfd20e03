// SPDX-License-Identifier: GPL-2.0-or-later
#include "time/shots.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "base/x86_arith.h"

namespace kelvra {
namespace {

// The histogram shift that scores 0, the least the sensitivity 100 takes: a
// frame that shifts less and returns is motion, not a flash.
constexpr double kLeastShift = 8;
// The least thumbnail change a ratio is taken against: below it a shot is
// still but for noise, and a ratio to noise means nothing.
constexpr double kStill = 2;
// The thumbnail ratio the default sensitivity needs. Inside shots of real
// footage (a hand before the lens, fast pans, flicker, fades) the ratio stays
// under 3; cuts between shots of one tone reach 7 and more.
constexpr double kRatioAt50 = 4;

double shift_score(double shift) { return shift > 0 ? 100 + 25 * std::log2(shift / 128) : 0; }

double contrast_score(double ratio) { return ratio > 0 ? 50 + 25 * std::log2(ratio / kRatioAt50) : 0; }

}  // namespace

double shape_distance(const FrameReport& a, const FrameReport& b) {
    double largest = 0;
    for (int c = 0; c < 3; ++c) {
        // The area between the two cumulative histograms is the distance the
        // pixels move, each bin 8 values wide.
        int64_t gap = 0, area = 0;
        for (int bin = 0; bin < kShapeBins; ++bin) {
            gap += int64_t{a.shape[c][bin]} - int64_t{b.shape[c][bin]};
            area += std::llabs(gap);
        }
        largest = std::max(largest, static_cast<double>(area) * (256.0 / kShapeBins) / 65535.0);
    }
    return largest;
}

ShotFinder::ShotFinder(const CutRules& rules) : rules_(rules) {}

double ShotFinder::recent_change() const {
    const int n = int(std::min<int64_t>(changes_, kRecent));
    if (n == 0) return kStill;
    double order[kRecent];
    std::copy_n(recent_, n, order);
    std::nth_element(order, order + (n - 1) / 2, order + n);
    return std::max(kStill, order[(n - 1) / 2]);
}

double ShotFinder::score(const Sight& frame, const Sight* after, const Sight* later) {
    if (judged_ == 0) {
        reference_ = frame;
        return 0;
    }
    if (settled_) {
        settled_ = false;
        return 0;
    }
    if (!after) return 0;
    const FrameReport &was = reference_.report, &now = frame.report;
    const double shift = shape_distance(was, now), back = shape_distance(was, after->report),
                 next = shape_distance(now, after->report);
    const Thumbnail &seen = reference_.thumbnail, &shown = frame.thumbnail;
    const double change = thumbnail_distance(seen, shown),
                 change_back = thumbnail_distance(seen, after->thumbnail),
                 change_next = thumbnail_distance(shown, after->thumbnail);
    const double usual = recent_change();
    // The frame after returns to the picture before: a flash. Or the frame
    // after holds the new tones and the one after that returns: a flash of
    // two frames, seen in the histograms alone (a shaking camera's frames
    // come back in the thumbnails, not in the tones).
    const bool toned = shift > kLeastShift;
    if ((toned && back < shift / 2) || (change > 2 * usual && change_back < change / 2)) return 0;
    if (later && toned && next < shift / 2 && shape_distance(was, later->report) < shift / 2) return 0;
    double held_shift = 0;
    bool odd_first = false;
    if (shift > 2 * lead_in_) {
        if (next < shift / 2) {
            held_shift = shift;
        } else if (back < 0.8 * (shift + next)) {
            // The new shot moves on at once from an odd first frame (a
            // pattern that settles, a flash-lit first frame). A fade passes
            // its frames on the way from the picture before to the one
            // after; this frame lies off that way.
            held_shift = std::min(shift, back);
            odd_first = held_shift > kLeastShift;
        }
    }
    double ratio = 0;
    if (change > 2 * change_lead_in_ && change_next < change / 2)
        ratio = std::sqrt(change / usual * change / std::max(kStill, change_next));
    recent_[changes_++ % kRecent] = change;
    if (odd_first) {
        // The next frame is the new shot's reference and scores nothing.
        reference_ = *after;
        lead_in_ = back;
        change_lead_in_ = change_back;
        settled_ = true;
    } else {
        reference_ = frame;
        lead_in_ = shift;
        change_lead_in_ = change;
    }
    return std::max({0.0, shift_score(held_shift), contrast_score(ratio)});
}

ShotCall ShotFinder::decide(double score, int64_t frame) const {
    ShotCall call;
    call.cut_score = trunc_to_int(score * 100 + 0.5) / 100.0;
    if (frame == 1)
        call.shot_start = true;
    else if (rules_.no_cut_at.count(frame))
        call.shot_start = false;
    else if (rules_.cut_at.count(frame))
        call.shot_start = true;
    else
        call.shot_start = rules_.sensitivity && call.cut_score > 100 - *rules_.sensitivity;
    return call;
}

ShotCall ShotFinder::judge(const Sight* after, const Sight* later) {
    const ShotCall call = decide(score(waiting_[0], after, later), judged_ + 1);
    ++judged_;
    std::copy(waiting_ + 1, waiting_ + kLookAhead, waiting_);
    return call;
}

std::optional<ShotCall> ShotFinder::next(const FrameReport& report, const Thumbnail& thumbnail) {
    const Sight newest{report, thumbnail};
    std::optional<ShotCall> verdict;
    if (frames_ - judged_ == kLookAhead) verdict = judge(&waiting_[1], &newest);
    waiting_[frames_ - judged_] = newest;
    ++frames_;
    return verdict;
}

std::optional<ShotCall> ShotFinder::end() {
    const int64_t left = frames_ - judged_;
    if (left == 0) return std::nullopt;
    return judge(left > 1 ? &waiting_[1] : nullptr, nullptr);
}

}  // namespace kelvra
