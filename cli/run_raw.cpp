#include <unistd.h>

#include "corrector.h"
#include "frame_loop.h"
#include "interrupt.h"
#include "run.h"

namespace kelvra::cli {

Outcome run_raw(const Options& o) {
    std::vector<std::string> warnings;
    std::string error;
    const std::optional<CorrectionSettings> settings =
        resolve_settings(o.config, o.flags, o.raw_width, o.raw_height, warnings, error);
    for (const std::string& w : warnings) warn(w);
    if (!settings) return {1, error};

    Corrector corrector(*settings, o.raw_width, o.raw_height);
    ProgressBar progress(progress_wanted(o), std::nullopt);
    const LoopResult r = run_frame_loop(STDIN_FILENO, STDOUT_FILENO, corrector, o.raw_width, o.raw_height, {},
                                        o.warm_start, progress, nullptr);
    progress.finish(r.frames);
    switch (r.status) {
        case LoopResult::kDone:
            return {};
        case LoopResult::kInterrupted:
            return {kInterruptedStatus, "interrupted"};
        case LoopResult::kReadFailed:
            return {1, "cannot read standard input: " + r.detail};
        case LoopResult::kTruncated:
            return {1, r.detail};
        case LoopResult::kWriteFailed:
            return {1, "cannot write standard output: " + r.detail};
    }
    return {1, "unexpected state"};
}

}  // namespace kelvra::cli
