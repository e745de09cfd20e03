// SPDX-License-Identifier: GPL-2.0-or-later
#include "input/decoder_messages.h"

#include <cstdarg>

extern "C" {
#include <libavutil/log.h>
}

namespace kelvra::cli {
namespace {

// The decoder runs on one thread, the caller's.
const void* watched = nullptr;
int64_t errors = 0;

void on_message(void* context, int level, const char* format, va_list args) {
    if (level <= AV_LOG_ERROR && context && context == watched) ++errors;
    av_log_default_callback(context, level, format, args);
}

}  // namespace

void route_libav_messages(bool show) {
    av_log_set_level(show ? AV_LOG_WARNING : AV_LOG_QUIET);
    av_log_set_callback(on_message);
}

void count_errors_of(const void* codec_context) { watched = codec_context; }

void forget_errors_of(const void* codec_context) {
    if (watched == codec_context) watched = nullptr;
}

int64_t counted_errors() { return errors; }

}  // namespace kelvra::cli
