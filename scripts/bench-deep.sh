#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-2.0-or-later
# The deep path's cost per 1920x1080 frame: the engine's share (bench/
# deep_pass_bench.cpp, processor time beside the 8-bit frame pass), then the
# tool end to end on a 16-bit FFV1 clip and on the same clip in 8 bits, wall
# and processor time (ffmpeg's decoding and encoding included), median of 3.
#
#   scripts/bench-deep.sh [repetitions]      (default 9)
set -euo pipefail
cd "$(dirname "$0")/.."

reps=${1:-9}
source scripts/bench-lib.sh
build_targets kelvra_deep_bench kelvra

echo
echo "Deep frames, 1920x1080, engine only, median processor time of $reps runs"
echo
echo "| step | ms |"
echo "|---|---|"
"$build/bench/kelvra_deep_bench" --benchmark_repetitions="$reps" --benchmark_display_aggregates_only=true \
    --benchmark_color=false 2>/dev/null | awk '/_median/ { sub(/_median/, ""); split($0, f, /  +/);
    split(f[3], t, " "); printf "| %s | %s |\n", f[1], t[1] }'

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
frames=20
source="testsrc2=size=1920x1080:rate=25,colorlevels=romin=0.1:romax=0.8:bomin=0.2"
ffmpeg -v error -nostdin -f lavfi -i "$source" -frames:v $frames -pix_fmt gbrp16le -c:v ffv1 "$work/deep.mkv"
ffmpeg -v error -nostdin -f lavfi -i "$source" -frames:v $frames -pix_fmt bgr0 -c:v ffv1 "$work/8bit.mkv"

echo
echo "The tool end to end, FFV1 in and out, $frames frames, median of 3 runs, ms per frame"
echo
echo "| input | wall | processor, ffmpeg included |"
echo "|---|---|---|"
for clip in deep 8bit; do
    for _ in 1 2 3; do
        TIMEFORMAT='%R %U %S'
        { time "$build/cli/kelvra" "$work/$clip.mkv" "$work/out.mkv" --codec ffv1 -q -f; } 2>>"$work/$clip.times"
    done
    wall=$(awk '{ print $1 }' "$work/$clip.times" | median)
    cpu=$(awk '{ print $2 + $3 }' "$work/$clip.times" | median)
    awk -v c="$clip" -v w="$wall" -v p="$cpu" -v f=$frames \
        'BEGIN { printf "| %s | %.1f | %.1f |\n", c, w * 1000 / f, p * 1000 / f }'
done
