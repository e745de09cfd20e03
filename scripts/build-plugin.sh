#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-2.0-or-later
# Cross-builds kelvra.vdf and its Windows test host for 64-bit and 32-bit
# editors with mingw-w64 (build/x64, build/x86) and copies the plug-ins to
# dist/x64/kelvra.vdf and dist/x86/kelvra.vdf.
set -euo pipefail
cd "$(dirname "$0")/.."

for build in x64:x86_64-w64-mingw32 x86:i686-w64-mingw32; do
    dir=${build%%:*}
    triple=${build#*:}
    cmake -S . -B "build/$dir" -G Ninja -DCMAKE_BUILD_TYPE=Release \
        -DCMAKE_TOOLCHAIN_FILE="cmake/$triple.cmake" >/dev/null
    cmake --build "build/$dir" -j2
    mkdir -p "dist/$dir"
    cp "build/$dir/bin/kelvra.vdf" "dist/$dir/kelvra.vdf"
done
