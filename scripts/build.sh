#!/usr/bin/env bash
# Builds everything: the native engine, tests and tools. With --no-demo it
# only builds.
set -euo pipefail
cd "$(dirname "$0")/.."

./scripts/install-deps.sh

cmake -S . -B build/native -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build build/native

# kelvra.vdf for 64-bit and 32-bit editors: dist/x64 and dist/x86.
./scripts/build-plugin.sh
