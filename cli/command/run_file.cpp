// SPDX-License-Identifier: GPL-2.0-or-later
// A file run: check everything, then decoder -> frame loop -> encoder, and
// put the outputs in place only when all of it succeeded.
#include <cstdio>
#include <memory>
#include <utility>

#include "command/frame_loop.h"
#include "command/run.h"
#include "convert/deep_codec.h"
#include "convert/eight_bit_codec.h"
#include "convert/yuv_conversion.h"
#include "input/decoder_messages.h"
#include "input/file_decoder.h"
#include "input/input_check.h"
#include "levels/corrector.h"
#include "levels/cut_lists.h"
#include "levels/steady.h"
#include "output/deep_format.h"
#include "output/ffmpeg_args.h"
#include "output/output_file.h"
#include "process/interrupt.h"
#include "process/process.h"
#include "report/compare.h"
#include "report/record_outputs.h"

namespace kelvra::cli {
namespace {

struct Plan {
    Tools tools;
    MediaInfo info;
    bool still = false;
    bool deep = false;  // more than 8 bits per channel
    Timing timing;
    OutputFormat format;
    CorrectionSettings settings;
    int64_t compare_frame = 0;
};

bool check_paths(const Options& o, std::string& error) {
    if (!check_output_path(o.input, o.output, o.force, error)) return false;
    if (o.compare_path.empty()) return true;
    if (same_target(o.compare_path, o.output)) {
        error = "--compare and the output name the same file";
        return false;
    }
    return check_output_path(o.input, o.compare_path, o.force, error);
}

bool check_frame_numbers(const Options& o, Plan& p, std::string& error) {
    const std::optional<int64_t> total = p.info.frame_count;
    if (!o.compare_path.empty()) {
        if (!total) {
            error = "cannot tell how many frames \"" + o.input + "\" has, for --compare";
            return false;
        }
        p.compare_frame = o.compare_frame.value_or((*total + 1) / 2);
        if (p.compare_frame > *total) {
            warn("--compare-frame " + std::to_string(p.compare_frame) + ": the input has " +
                 std::to_string(*total) + " frames; the last is compared");
            p.compare_frame = *total;
        }
    }
    if (p.settings.freeze_after && total && p.settings.freeze_after >= *total && !p.still) {
        warn("--freeze-after " + std::to_string(p.settings.freeze_after) + ": the input has " +
             std::to_string(*total) + " frames, so nothing is frozen");
    }
    return true;
}

std::optional<Plan> make_plan(const Options& o, std::string& error) {
    Plan p;
    const std::optional<Tools> tools = find_tools(error);
    if (!tools) return std::nullopt;
    p.tools = *tools;
    if (!check_paths(o, error)) return std::nullopt;
    const std::optional<MediaInfo> info = inspect_input(p.tools, o.input, !o.compare_path.empty(), error);
    if (!info) return std::nullopt;
    p.info = *info;
    p.still = is_still_image(p.info);
    p.format = choose_output_format(p.info, o.output, o.codec, passthrough_pix_fmt(o.passthrough),
                                    passthrough_filters(o.passthrough));
    p.deep = is_deep_input(p.info);
    if (p.deep) adapt_to_deep_input(p.format, p.info, o.output, o.codec, passthrough_pix_fmt(o.passthrough));
    if (p.format.single_image && p.info.frame_count != 1) {
        error =
            "\"" + o.output + "\" is an image file, but \"" + o.input + "\" is a video: write a video file";
        return std::nullopt;
    }
    std::vector<std::string> warnings;
    const std::optional<CorrectionSettings> settings =
        resolve_settings(o.config, o.flags, p.info.width, p.info.height, warnings, error);
    if (!settings) return std::nullopt;
    p.settings = *settings;
    if (!check_frame_numbers(o, p, error)) return std::nullopt;
    p.timing = p.still ? Timing{Rational{25, 1}, false} : choose_timing(p.info);
    if (p.timing.resample) {
        warnings.push_back("\"" + o.input + "\" has a variable frame rate; written at a constant " +
                           p.timing.rate.text() + " fps, frames repeated or dropped to keep it in sync");
    }
    warnings.insert(warnings.end(), p.format.warnings.begin(), p.format.warnings.end());
    for (const std::string& w : warnings) warn(w);
    return p;
}

// The input's name and how its levels were chosen.
std::string plot_title(const Options& o, Correction correction) {
    const std::string run = correction == Correction::kBalance ? "the shot's light" : "five-frame average";
    const std::string how = o.steady                 ? "one set of levels per shot (--steady)"
                            : o.cuts.sensitivity     ? run + " restarted at cuts (--scene-cuts)"
                            : !o.cuts.cut_at.empty() ? run + " restarted at --cut-at"
                                                     : run;
    return name_of(o.input) + ": " + how;
}

// How frames cross the pipes; null when a conversion cannot be set up.
std::unique_ptr<FrameCodec> frame_codec(const Plan& p, const std::string& decoded_format) {
    const int32_t w = p.info.width, h = p.info.height;
    if (p.deep) {
        return std::make_unique<DeepCodec>(w, h, p.format.pipe_format == "gbrap16le",
                                           p.settings.show_histogram != 0);
    }
    std::unique_ptr<YuvToBgra> from_input;
    std::unique_ptr<BgraToYuv> to_output;
    if (decoded_format != "bgra") {
        from_input = std::make_unique<YuvToBgra>(decoded_format, w, h, p.info.colour);
        if (!from_input->ok()) return nullptr;
    }
    if (p.format.yuv_pipe) {
        const auto [matrix, range] = output_matrix_and_range(p.info);
        to_output = std::make_unique<BgraToYuv>(p.format.pix_fmt, w, h, matrix, range == "pc");
        if (!to_output->ok()) return nullptr;
    }
    return std::make_unique<EightBitCodec>(w, h, std::move(from_input), std::move(to_output));
}

// Whether the decoder can run in this process: the frames go to the tool as
// the stream decodes them, with no rotation, rate change or conversion.
bool decodes_in_process(const Plan& p, const std::string& decoded_format) {
    return !p.deep && !p.still && !p.timing.resample && p.info.rotation == 0 &&
           decoded_format == p.info.pix_fmt;
}

// Frames with decode errors where an ffmpeg process decoded the file: where
// it reported errors, the stream decoded here once more to count them.
int64_t damaged_frames_decoded_apart(const Options& o, const Plan& p, int decoder_log) {
    if (log_summary(decoder_log).empty()) return 0;
    return FileDecoder::count_damaged_frames(o.input, p.info.video_index);
}

// The decoder through the frame loop into an encoder writing `temp`, or,
// with no `temp`, into nothing: the frames are only measured. `damaged`,
// when given, receives the number of frames that had decode errors.
Outcome run_pass(const Options& o, const Plan& p, Corrector& corrector, const std::string& temp,
                 CompareCapture* compare, ProgressBar& progress, int64_t* damaged = nullptr) {
    std::string error;
    const std::string decoded_format = p.deep ? p.format.pipe_format : decoder_pipe_format(p.info);
    const std::unique_ptr<FrameCodec> codec = frame_codec(p, decoded_format);
    if (!codec) return {1, "cannot set up the colour conversion for \"" + o.input + "\""};
    std::optional<Pipe> decoded, encoded = make_pipe(error);
    if (!encoded) return {1, error};
    widen_pipe(encoded->read.get());
    Fd decoder_log = make_log_file(), encoder_log = make_log_file();
    std::unique_ptr<FrameSource> source;
    const FileDecoder* in_process = nullptr;
    std::optional<Child> decoder;
    if (decodes_in_process(p, decoded_format)) {
        std::unique_ptr<FileDecoder> file = FileDecoder::open(o.input, p.info.video_index, decoded_format,
                                                              p.info.width, p.info.height, error);
        if (!file) return {1, error};
        in_process = file.get();
        source = std::move(file);
    } else {
        if (!(decoded = make_pipe(error))) return {1, error};
        widen_pipe(decoded->read.get());
        std::optional<Child> started =
            spawn(decoder_args(p.tools.ffmpeg, p.info, p.timing, o.input, p.still, decoded_format),
                  Stdio{-1, decoded->write.get(), decoder_log.get()}, error);
        if (!started) return {1, error};
        decoder.emplace(std::move(*started));
        decoded->write.reset();
        source = std::make_unique<PipeSource>(decoded->read.get());
    }
    std::optional<Child> encoder;
    if (!temp.empty()) {
        const EncodeRequest request{o.input, temp, o.codec, o.crf, o.passthrough, !p.info.image_format};
        std::optional<Child> started =
            spawn(encoder_args(p.tools.ffmpeg, p.info, p.timing, p.format, request),
                  Stdio{encoded->read.get(), -1, encoder_log.get()}, error);
        if (!started) return {1, error};
        encoder.emplace(std::move(*started));
        if (p.format.drops_alpha) codec->watch_alpha();
    }
    encoded->read.reset();

    const LoopResult r = run_frame_loop(*source, encoder ? encoded->write.get() : -1, *codec, corrector,
                                        starts_warm(p.settings, o.warm_start || p.still), progress, compare);
    progress.finish(r.frames);
    // Closing both ends lets each ffmpeg finish (or stop on a broken pipe).
    if (decoded) decoded->read.reset();
    encoded->write.reset();
    const int decoder_status = decoder ? decoder->wait() : 0;
    const int encoder_status = encoder ? encoder->wait() : 0;

    if (interrupted() || r.status == LoopResult::kInterrupted)
        return {kInterruptedStatus, "interrupted; nothing written"};
    if (r.status == LoopResult::kWriteFailed || encoder_status != 0) {
        return {1, "ffmpeg could not write \"" + o.output + "\": " + log_summary(encoder_log.get())};
    }
    if (r.status != LoopResult::kDone || decoder_status != 0) {
        const bool own_words = r.status == LoopResult::kTruncated || r.status == LoopResult::kUnplanned ||
                               (r.status == LoopResult::kReadFailed && !decoder);
        return {1, "cannot decode \"" + o.input +
                       "\": " + (own_words ? r.detail : log_summary(decoder_log.get()))};
    }
    if (r.frames == 0) return {1, "\"" + o.input + "\" gave no frames"};
    if (damaged) {
        *damaged =
            in_process ? in_process->damaged_frames() : damaged_frames_decoded_apart(o, p, decoder_log.get());
    }
    if (codec->translucent_seen())
        warn("this output format has no alpha channel; the input's alpha, not opaque everywhere, is dropped");
    return {};
}

// A file that does not decode whole (bytes damaged, or cut off) is written
// as far as it decodes, as ffmpeg writes it, but not in silence: one line,
// with the frames that had decode errors and those its container promised
// but never came. A resampled stream's count changes on purpose, and is not
// compared.
std::optional<std::string> incomplete_warning(const Options& o, const Plan& p, int64_t frames,
                                              int64_t damaged) {
    const std::optional<int64_t> promised = p.info.frame_count;
    const bool short_of_promise = !p.still && !p.timing.resample && promised && frames < *promised;
    if (!short_of_promise && damaged == 0) return std::nullopt;
    std::string w = "\"" + o.input + "\" ";
    w += damaged == 0 ? "ends early: "
                      : "is damaged: " + std::to_string(damaged) + (damaged == 1 ? " frame" : " frames") +
                            " had decode errors; ";
    w += short_of_promise ? "its container promised " + std::to_string(*promised) + " frames, " +
                                std::to_string(frames) + " decoded and were written"
                          : std::to_string(frames) + " frames decoded and were written";
    if (damaged > 0 && !o.verbose) w += " (--verbose shows the decoder's messages)";
    return w;
}

// --steady's first pass: every frame measured, its shot found, and each
// shot's levels chosen.
Outcome plan_steady_levels(const Options& o, const Plan& p, LevelPlan& levels) {
    Corrector measure(p.settings, p.info.width, p.info.height, LevelPlan{o.cuts, {}, true});
    ProgressBar progress(progress_wanted(o), p.info.frame_count, "analysing  ", o.progress_fd);
    const Outcome outcome = run_pass(o, p, measure, "", nullptr, progress);
    if (outcome.status != 0) return outcome;
    levels.given = measure.records();
    choose_steady_levels(levels.given, p.settings.disable != 0);
    return {};
}

}  // namespace

Outcome run_file(const Options& o) {
    route_libav_messages(o.verbose);
    std::string error;
    const std::optional<Plan> plan = make_plan(o, error);
    if (!plan) return {1, error};
    std::optional<PendingOutput> output = PendingOutput::create(o.output, error);
    if (!output) return {1, error};
    const bool comparing = !o.compare_path.empty();
    std::optional<PendingOutput> compare_output =
        comparing ? PendingOutput::create(o.compare_path, error) : std::optional<PendingOutput>();
    if (comparing && !compare_output) return {1, error};
    std::vector<std::string> taken = {o.output};
    if (comparing) taken.push_back(o.compare_path);
    std::optional<RecordOutputs> record_outputs = RecordOutputs::reserve(o, taken, error);
    if (!record_outputs) return {1, error};
    CompareCapture capture;
    capture.frame = plan->compare_frame;

    LevelPlan levels{o.cuts, {}, record_outputs->wanted()};
    const bool two_passes = o.steady && !plan->still;
    if (two_passes) {
        const Outcome outcome = plan_steady_levels(o, *plan, levels);
        if (outcome.status != 0) return outcome;
    }
    Corrector corrector(plan->settings, plan->info.width, plan->info.height, levels);
    ProgressBar progress(progress_wanted(o) && !plan->still, plan->info.frame_count,
                         two_passes ? "correcting " : "", o.progress_fd);
    int64_t damaged = 0;
    const Outcome outcome = run_pass(o, *plan, corrector, output->temp_path(),
                                     compare_output ? &capture : nullptr, progress, &damaged);
    if (outcome.status != 0) return outcome;
    if (two_passes && size_t(corrector.frames_done()) != levels.given.size()) {
        return {1, "cannot decode \"" + o.input + "\": it gave " + std::to_string(corrector.frames_done()) +
                       " frames the second time, " + std::to_string(levels.given.size()) + " the first"};
    }
    if (const std::optional<std::string> w = incomplete_warning(o, *plan, corrector.frames_done(), damaged))
        warn(*w);
    if (const std::optional<std::string> w = cuts_beyond_warning(o.cuts, corrector.frames_done())) warn(*w);
    if (compare_output) {
        if (capture.frame != plan->compare_frame) {
            warn("--compare: frame " + std::to_string(plan->compare_frame) + " never came; frame " +
                 std::to_string(capture.frame) + ", the last decoded, is compared");
        }
        const std::vector<uint32_t> picture =
            compose_compare(capture.before, capture.after, plan->info.width, plan->info.height);
        if (!write_png(plan->tools.ffmpeg, picture, 2 * plan->info.width, plan->info.height,
                       compare_output->temp_path(), error)) {
            return {1, error};
        }
    }
    const FrameClock clock{plan->info.file_start + plan->info.video_delay, plan->timing.rate};
    if (!record_outputs->write(corrector.records(), clock, plot_title(o, plan->settings.correction), error))
        return {1, error};
    if (interrupted()) return {kInterruptedStatus, "interrupted; nothing written"};
    if (!output->commit(o.force, error)) return {1, error};
    if (compare_output && !compare_output->commit(o.force, error)) return {1, error};
    if (!record_outputs->commit(o.force, error)) return {1, error};
    return {};
}

}  // namespace kelvra::cli
