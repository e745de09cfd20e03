// SPDX-License-Identifier: GPL-2.0-or-later
// Whether frames come in order, judged by their time stamps alone. An editor
// hands an effect the frames it needs: in order while it plays, anywhere
// after a seek, the same one again while it stands. Hosts differ in the unit
// (seconds, milliseconds), so the judgement is by the steps seen: the
// shortest step forward so far is the frame period, and a step follows on
// when it goes forward by at most one and a half periods. A step back, in
// place or over a frame or more breaks the sequence. The first step sets
// the period; a time that is no number or far beyond any stream's (a host
// without time stamps) never breaks it.
#pragma once

#include <optional>

namespace kelvra {

class FrameClock {
public:
    // Takes the next frame's time: true when it does not follow on from the
    // frame before (the first frame included).
    bool breaks(double time);

private:
    bool started_ = false;
    std::optional<double> last_;  // the last time that was a number
    std::optional<double> period_;
};

}  // namespace kelvra
