#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-2.0-or-later
# The engine tests and the settings race test under ThreadSanitizer.
set -euo pipefail
cd "$(dirname "$0")/.."

cmake -S . -B build/tsan -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DKELVRA_SANITIZE=thread >/dev/null
cmake --build build/tsan
cd build/tsan && TSAN_OPTIONS=halt_on_error=1 ctest --output-on-failure -j2
