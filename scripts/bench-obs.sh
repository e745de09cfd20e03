#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-2.0-or-later
# What the OBS filter costs in Debian's OBS, headless under Xvfb with Mesa's
# llvmpipe: a media source playing testsrc2 at 1920x1080, 60 fps, with a
# colour cast (libx264 yuv420p, as a camera's or a recording's frames come),
# rendered 600 frames at 60 a second without a filter, with OBS's own Color
# Correction and with Kelvra, one after the other in the same run. Prints a
# table of medians (tests/obs/obs_bench.cpp says what each column counts).
#
#   scripts/bench-obs.sh
set -euo pipefail
cd "$(dirname "$0")/.."

source scripts/bench-lib.sh
build_targets kelvra_obs_bench kelvra_obs

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
ffmpeg -hide_banner -nostdin -v error -f lavfi \
    -i "testsrc2=size=1920x1080:rate=60,colorlevels=romin=0.1:romax=0.8:bomin=0.2" -t 10 \
    -c:v libx264 -preset ultrafast -pix_fmt yuv420p "$work/clip.mp4"
tests/obs/run-under-xvfb.sh "$build/tests/obs/kelvra_obs_bench" "$work/clip.mp4"
