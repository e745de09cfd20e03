#include "levels/shots.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace kelvra::cli {

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

double cut_threshold(int sensitivity) { return 128.0 * std::exp2(-sensitivity / 25.0); }

ShotFinder::ShotFinder(const CutRules& rules)
    : rules_(rules), threshold_(cut_threshold(rules.sensitivity.value_or(kDefaultSensitivity))) {}

bool ShotFinder::detect(const FrameReport* after) {
    if (frames_ == 1) {
        reference_ = pending_;
        return true;
    }
    const double jump = shape_distance(reference_, pending_);
    if (jump > threshold_ && after) {
        const double back = shape_distance(reference_, *after), next = shape_distance(pending_, *after);
        // The frame after returns to the picture before: a flash.
        if (back < jump / 2) return false;
        const bool sudden = jump > 2 * lead_in_;
        if (sudden && next < jump / 2) {
            reference_ = pending_;
            lead_in_ = 0;
            return true;
        }
        // The new shot moves on at once from an odd first frame (a pattern
        // that settles, a flash-lit first frame). A fade passes its frames
        // on the way from the picture before to the one after; this frame
        // lies off that way.
        if (sudden && back > threshold_ && back < 0.8 * (jump + next)) {
            reference_ = *after;
            lead_in_ = 0;
            return true;
        }
    }
    reference_ = pending_;
    lead_in_ = jump;
    return false;
}

bool ShotFinder::decide(bool detected) const {
    if (frames_ == 1) return true;
    if (rules_.no_cut_at.count(frames_)) return false;
    if (rules_.cut_at.count(frames_)) return true;
    return rules_.sensitivity && detected;
}

std::optional<bool> ShotFinder::next(const FrameReport& report) {
    std::optional<bool> verdict;
    if (frames_ > 0) verdict = decide(detect(&report));
    pending_ = report;
    ++frames_;
    return verdict;
}

std::optional<bool> ShotFinder::end() {
    if (frames_ == 0) return std::nullopt;
    return decide(detect(nullptr));
}

}  // namespace kelvra::cli

namespace kelvra::cli {

std::optional<std::string> cuts_beyond_warning(const CutRules& rules, int64_t frames) {
    std::string beyond;
    for (const std::set<int64_t>* list : {&rules.cut_at, &rules.no_cut_at}) {
        for (auto it = list->upper_bound(frames); it != list->end(); ++it) {
            if (!beyond.empty()) beyond += ',';
            beyond += std::to_string(*it);
        }
    }
    if (beyond.empty()) return std::nullopt;
    return "--cut-at/--no-cut-at frame " + beyond + ": the input has only " + std::to_string(frames) +
           " frames";
}

}  // namespace kelvra::cli
