#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-2.0-or-later
# Times the kelvra tool end to end against ffmpeg on the same clips: the
# tool with default options, the tool with --disable (what the plumbing
# costs without the correction's effect on the encoder), the plain transcode
# to the same encoder, and ffmpeg's normalize filter. Clips: 150 frames of
# testsrc2 at 1920x1080 and 60 at 3840x2160, 25 fps, with a colour cast,
# libx264 -crf 18 yuv420p in MP4. CPU is user + system time of the whole
# process tree; the four commands run back to back in each round, in a
# rotating order, and the table shows medians over the rounds. The ratio
# column is the median of each round's ratio to that round's plain
# transcode, so a machine that slows down for a while moves both sides.
#
#   scripts/bench-tool.sh [rounds]      (default 5)
set -euo pipefail
cd "$(dirname "$0")/.."

rounds=${1:-5}
source scripts/bench-lib.sh
build_targets kelvra
kelvra=$PWD/$build/cli/kelvra

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# One command of the table by its name: input clip, output file.
run_named() {
    case $1 in
        tool) "$kelvra" "$2" "$3" -f -q ;;
        tool-disable) "$kelvra" "$2" "$3" -f -q --disable ;;
        plain) ffmpeg -hide_banner -nostdin -v error -y -i "$2" "$3" ;;
        normalize) ffmpeg -hide_banner -nostdin -v error -y -i "$2" -vf normalize "$3" ;;
    esac
}

names=(tool tool-disable plain normalize)
declare -A label=([tool]='`kelvra IN OUT`' [tool-disable]='`kelvra IN OUT --disable`'
    [plain]='`ffmpeg -i IN OUT`' [normalize]='`ffmpeg -i IN -vf normalize OUT`')
for clip in 1920x1080:150 3840x2160:60; do
    size=${clip%%:*}
    make_clip "$size" "${clip#*:}" "$work/$size.mp4"
    for round in $(seq "$rounds"); do
        for i in "${!names[@]}"; do
            name=${names[$(((i + round) % ${#names[@]}))]}
            echo "$size $name $(time_named "$name" "$work/$size.mp4" "$work/out.mp4") $round" >>"$work/times.txt"
        done
    done
done

echo
echo "kelvra end to end, median of $rounds rounds, seconds (CPU: user + system of all processes)"
echo
echo "| clip | command | CPU | wall | CPU / plain transcode |"
echo "|---|---|---|---|---|"
for size in 1920x1080 3840x2160; do
    for name in "${names[@]}"; do
        cpu=$(median_of "$size" "$name" 4)
        wall=$(median_of "$size" "$name" 3)
        ratio=$(paired_ratios "$size" "$name" plain | median)
        awk -v s="$size" -v n="${label[$name]}" -v c="$cpu" -v w="$wall" -v q="$ratio" \
            'BEGIN { printf "| %s | %s | %.2f | %.2f | %.2f |\n", s, n, c, w, q }'
    done
done
echo
for size in 1920x1080 3840x2160; do
    printf "%s: kelvra takes %.2f of normalize's CPU time\n" "$size" "$(paired_ratios "$size" tool normalize | median)"
done
