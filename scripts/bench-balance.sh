#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-2.0-or-later
# Kelvra's correction beside the tools people would pick instead, in one run:
# several dozen real photographs from Debian packages (fetched, never
# installed: see clip-sources.sh) under casts of known kinds (video:
# bench-video.sh). Writes results.md and grid.png to the
# output folder (default out/bench-balance).
#
#   scripts/bench-balance.sh [--quick] [--check] [OUT]
#
# --quick: five pictures, four casts, kelvra alone; --check: fail when
# balance loses its numbers (the test command runs both). Needs the native
# build, python3-numpy, and for the full run python3-opencv and imagemagick.
# Exit status 77 when the pictures cannot be fetched.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
source "$here/clip-sources.sh"

flags=()
while [ $# -gt 0 ] && [[ $1 == --* ]]; do
    flags+=("$1")
    shift
done
out=${1:-$here/../out/bench-balance}
kelvra=${KELVRA:-$here/../build/native/cli/kelvra}
[ -x "$kelvra" ] || { echo "no $kelvra: run ./scripts/build.sh --no-demo first" >&2; exit 1; }
/usr/bin/python3 -c 'import numpy' 2>/dev/null || { echo "skipped: python3-numpy is not installed" >&2; exit 77; }

packages=(python3-skimage libjxl-testdata)
[[ " ${flags[*]:-} " == *" --quick "* ]] || packages+=(opencv-doc plasma-workspace-wallpapers)
roots=()
for package in "${packages[@]}"; do
    root=$(package_root "$package") || exit 77
    roots+=(--root "$package=$root")
done
exec /usr/bin/python3 "$here/bench-balance.py" --kelvra "$kelvra" --out "$out" "${roots[@]}" "${flags[@]}"
