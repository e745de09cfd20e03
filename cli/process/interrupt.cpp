// SPDX-License-Identifier: GPL-2.0-or-later
#include "process/interrupt.h"

#include <signal.h>

#include <initializer_list>

namespace kelvra::cli {
namespace {

volatile sig_atomic_t g_interrupted = 0;

void on_signal(int) { g_interrupted = 1; }

}  // namespace

void install_interrupt_handlers() {
    struct sigaction sa = {};
    sa.sa_handler = on_signal;
    sigemptyset(&sa.sa_mask);
    sa.sa_flags = 0;  // no SA_RESTART: a blocked read or write returns EINTR
    for (int sig : {SIGINT, SIGTERM, SIGHUP}) sigaction(sig, &sa, nullptr);
    // A closed pipe shows up as EPIPE from write, reported like any error.
    signal(SIGPIPE, SIG_IGN);
}

bool interrupted() { return g_interrupted != 0; }

}  // namespace kelvra::cli
