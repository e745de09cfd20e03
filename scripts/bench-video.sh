#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-2.0-or-later
# Kelvra's correction of video beside ffmpeg's normalize, in one run: real
# still-camera footage and a street-like composite of real pictures (from
# Debian packages, fetched, never installed: see clip-sources.sh) for
# steadiness, and light changes inside a shot made from them. Writes
# results.md, the street's --stats CSVs and street-levels.png to the output
# folder (default out/bench-video).
#
#   scripts/bench-video.sh [--quick] [--check] [--kelvra PATH] [--frei0r DIR]
#                          [--before-kelvra PATH --before-frei0r DIR] [OUT]
#
# --kelvra and --frei0r default to the native build; the "before" pair runs
# other binaries beside them. --quick: the street small and one light
# change, balance and frei0r alone; --check: fail when either misses a
# target there. Needs python3-numpy, ffmpeg with frei0r, and gnuplot. Exit
# status 77 when the footage cannot be fetched.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
source "$here/clip-sources.sh"

args=()
quick=
out=
while [ $# -gt 0 ]; do
    case $1 in
    --quick) quick=1; args+=("$1") ;;
    --check) args+=("$1") ;;
    --kelvra | --frei0r | --before-kelvra | --before-frei0r) args+=("$1" "$2"); shift ;;
    --*) echo "unknown option $1" >&2; exit 2 ;;
    *) out=$1 ;;
    esac
    shift
done
[ -n "$out" ] && args+=(--out "$out")
/usr/bin/python3 -c 'import numpy' 2>/dev/null || { echo "skipped: python3-numpy is not installed" >&2; exit 77; }

packages=(python3-skimage)
[ -n "$quick" ] || packages+=(opencv-doc python3-mecavideo)
for package in "${packages[@]}"; do
    root=$(package_root "$package") || exit 77
    args+=(--root "$package=$root")
done
exec /usr/bin/python3 "$here/bench-video.py" "${args[@]}"
