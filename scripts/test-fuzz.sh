#!/usr/bin/env bash
# The fuzz target, built with clang under AddressSanitizer and
# UndefinedBehaviorSanitizer, run for a bounded time (KELVRA_FUZZ_SECONDS,
# default 60) on the seed corpus.
set -euo pipefail
cd "$(dirname "$0")/.."

CC=clang CXX=clang++ cmake -S . -B build/fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DKELVRA_FUZZ=ON -DKELVRA_SANITIZE=fuzzer-no-link,address,undefined \
    -DKELVRA_FUZZ_SECONDS="${KELVRA_FUZZ_SECONDS:-60}" >/dev/null
cmake --build build/fuzz
cd build/fuzz && ctest --output-on-failure
