#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-2.0-or-later
# Builds everything: the native engine, tests and tools. With --no-demo it
# only builds.
set -euo pipefail
cd "$(dirname "$0")/.."

demo=1
for arg in "$@"; do
    case "$arg" in
        --no-demo) demo=0 ;;
        *) echo "usage: $0 [--no-demo]" >&2; exit 2 ;;
    esac
done

./scripts/install-deps.sh build

cmake -S . -B build/native -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build build/native

# kelvra.vdf for 64-bit and 32-bit editors: dist/x64 and dist/x86.
./scripts/build-plugin.sh

# The tool on its embedded sample: a clip with a colour cast, corrected.
if [ "$demo" -eq 1 ]; then
    build/native/cli/kelvra demo out/demo
fi
