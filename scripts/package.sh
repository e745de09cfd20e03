#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-2.0-or-later
# Builds the tool and both plug-in DLLs (as scripts/build.sh does), then the
# release files in dist/: the Debian package kelvra_VERSION-1_amd64.deb
# and, where libobs-dev is installed, the OBS module's
# kelvra-obs_VERSION-1_amd64.deb (CPack), the plug-in bundle kelvra-vdf-VERSION.zip and the source they were
# built from, kelvra-VERSION.tar.gz (the GPL asks that it go with them).
set -euo pipefail
cd "$(dirname "$0")/.."

cmake -S . -B build/native -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build build/native
./scripts/build-plugin.sh

rm -f build/native/kelvra_*.deb build/native/kelvra-obs_*.deb dist/kelvra_*.deb dist/kelvra-obs_*.deb dist/kelvra-vdf-*.zip dist/kelvra-*.tar.gz
(cd build/native && cpack >/dev/null)
cp build/native/kelvra_*_amd64.deb dist/
if ls build/native/kelvra-obs_*_amd64.deb >/dev/null 2>&1; then cp build/native/kelvra-obs_*_amd64.deb dist/; fi
cmake --build build/native --target plugin-bundle >/dev/null
version=$(sed -n 's/^project(kelvra VERSION \([0-9.]*\).*/\1/p' CMakeLists.txt)
git archive --prefix="kelvra-$version/" -o "dist/kelvra-$version.tar.gz" HEAD
ls dist/kelvra_*_amd64.deb dist/kelvra-vdf-*.zip dist/kelvra-*.tar.gz
