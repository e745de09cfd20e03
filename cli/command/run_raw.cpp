// SPDX-License-Identifier: GPL-2.0-or-later
#include <unistd.h>

#include "command/frame_loop.h"
#include "command/run.h"
#include "convert/eight_bit_codec.h"
#include "levels/corrector.h"
#include "levels/cut_lists.h"
#include "process/interrupt.h"
#include "report/record_outputs.h"

namespace kelvra::cli {

Outcome run_raw(const Options& o) {
    std::vector<std::string> warnings;
    std::string error;
    const std::optional<CorrectionSettings> settings =
        resolve_settings(o.config, o.flags, o.raw_width, o.raw_height, warnings, error);
    for (const std::string& w : warnings) warn(w);
    if (!settings) return {1, error};

    std::optional<RecordOutputs> record_outputs = RecordOutputs::reserve(o, {}, error);
    if (!record_outputs) return {1, error};

    Corrector corrector(*settings, o.raw_width, o.raw_height,
                        LevelPlan{o.cuts, {}, record_outputs->wanted()});
    ProgressBar progress(progress_wanted(o), std::nullopt);
    EightBitCodec codec(o.raw_width, o.raw_height);
    PipeSource input(STDIN_FILENO);
    const LoopResult r = run_frame_loop(input, STDOUT_FILENO, codec, corrector,
                                        starts_warm(*settings, o.warm_start), progress, nullptr);
    progress.finish(r.frames);
    switch (r.status) {
        case LoopResult::kDone:
            if (const std::optional<std::string> w = cuts_beyond_warning(o.cuts, r.frames)) warn(*w);
            if (!record_outputs->write(corrector.records(), std::nullopt, "standard input", error) ||
                !record_outputs->commit(o.force, error)) {
                return {1, error};
            }
            return {};
        case LoopResult::kInterrupted:
            return {kInterruptedStatus, "interrupted"};
        case LoopResult::kReadFailed:
            return {1, "cannot read standard input: " + r.detail};
        case LoopResult::kTruncated:
        case LoopResult::kUnplanned:
            return {1, r.detail};
        case LoopResult::kWriteFailed:
            return {1, "cannot write standard output: " + r.detail};
    }
    return {1, "unexpected state"};
}

}  // namespace kelvra::cli
