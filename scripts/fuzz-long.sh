#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-2.0-or-later
# A long fuzz run: scripts/fuzz-long.sh [seconds, default 3600] [jobs, default 1].
# New inputs collect in build/fuzz/tests/fuzz/corpus; a crash is written next
# to it as crash-<hash>, to be turned into a regression test.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-3600}
jobs=${2:-1}

KELVRA_FUZZ_SECONDS=1 ./scripts/test-fuzz.sh >/dev/null
cd build/fuzz/tests/fuzz
if [ "$jobs" -gt 1 ]; then
    exec ./frame_pass_fuzz -fork="$jobs" -max_total_time="$seconds" -print_final_stats=1 \
        -artifact_prefix=./ corpus ../../../../tests/fuzz/corpus
fi
exec ./frame_pass_fuzz -max_total_time="$seconds" -print_final_stats=1 -artifact_prefix=./ \
    corpus ../../../../tests/fuzz/corpus
