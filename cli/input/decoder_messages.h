// SPDX-License-Identifier: GPL-2.0-or-later
// libav's own messages in this process (the demuxer's, the decoder's,
// libswscale's) stay off the terminal, where they would break into the
// progress line, unless asked for; the errors one decoder reports are counted
// either way, so that the tool can say in one line how much of a file did
// not decode.
#pragma once

#include <cstdint>

namespace kelvra::cli {

// With `show`, warnings and errors go to standard error as ffmpeg writes them.
void route_libav_messages(bool show);

// Counts the errors logged by this codec context from now on; one context at
// a time. forget_errors_of() stops it where that context is still the one.
void count_errors_of(const void* codec_context);
void forget_errors_of(const void* codec_context);
int64_t counted_errors();

}  // namespace kelvra::cli
