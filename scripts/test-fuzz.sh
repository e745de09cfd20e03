#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-2.0-or-later
# The fuzz target, built with clang under AddressSanitizer and
# UndefinedBehaviorSanitizer, run for a bounded time (KELVRA_FUZZ_SECONDS,
# default 60) on the seed corpus.
# Where scripts/install-deps.sh could not install clang, the suite is
# skipped with apt's reason, in one line "N passed, N failed, M skipped".
set -euo pipefail
cd "$(dirname "$0")/.."

if [ -s build/not-installed/fuzz ]; then
    echo "fuzz suite skipped: $(cat build/not-installed/fuzz)"
    echo "0 passed, 0 failed, $(grep -c '^add_test' tests/fuzz/CMakeLists.txt) skipped"
    exit 0
fi

CC=clang CXX=clang++ cmake -S . -B build/fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DKELVRA_FUZZ=ON -DKELVRA_SANITIZE=fuzzer-no-link,address,undefined \
    -DKELVRA_FUZZ_SECONDS="${KELVRA_FUZZ_SECONDS:-60}" >/dev/null
cmake --build build/fuzz
cd build/fuzz && ctest --output-on-failure
