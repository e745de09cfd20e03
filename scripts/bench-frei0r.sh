#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-2.0-or-later
# Times the frei0r plug-in inside ffmpeg against what any RGB filter there
# costs: 150 frames of testsrc2 at 1920x1080 with a colour cast, 25 fps,
# libx264 -crf 18 yuv420p in MP4, coded the same way out. Side by side in
# each round, in a rotating order: the plain transcode, `-vf format=bgra`
# (the conversions to RGB and back without a filter: the floor), `-vf
# frei0r=kelvra` with its defaults and with scene cuts, `-vf normalize` and
# the tool; then the floor and the filter again with the frames converted
# back but not coded (`-f null`), which leaves out what x264 spends more on
# the corrected picture: the filter's own work. CPU is user + system time
# of the whole process tree; the table
# shows medians over the rounds, and each ratio is the median of the
# rounds' own ratios, so a machine that slows down for a while moves both
# sides.
#
#   scripts/bench-frei0r.sh [rounds]      (default 5)
set -euo pipefail
cd "$(dirname "$0")/.."

rounds=${1:-5}
source scripts/bench-lib.sh
build_targets kelvra kelvra_frei0r
kelvra=$PWD/$build/cli/kelvra
export FREI0R_PATH=$PWD/$build/frei0r

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

transcode() {
    local in=$1 out=$2
    shift 2
    ffmpeg -hide_banner -nostdin -v error -y -i "$in" "$@" -c:v libx264 -pix_fmt yuv420p "$out"
}

run_named() {
    case $1 in
        plain) transcode "$2" "$3" ;;
        floor) transcode "$2" "$3" -vf format=bgra ;;
        frei0r) transcode "$2" "$3" -vf frei0r=kelvra ;;
        frei0r-cuts) transcode "$2" "$3" -vf 'frei0r=kelvra:0.05|n|n|0|0|0|0|n|y' ;;
        normalize) transcode "$2" "$3" -vf normalize ;;
        tool) "$kelvra" "$2" "$3" -f -q ;;
        floor-uncoded) ffmpeg -hide_banner -nostdin -v error -i "$2" -vf format=bgra,format=yuv420p -f null - ;;
        frei0r-uncoded) ffmpeg -hide_banner -nostdin -v error -i "$2" -vf frei0r=kelvra,format=yuv420p -f null - ;;
    esac
}

names=(plain floor frei0r frei0r-cuts normalize tool floor-uncoded frei0r-uncoded)
declare -A label=([plain]='`ffmpeg -i IN OUT`' [floor]='`-vf format=bgra` (the floor)'
    [frei0r]='`-vf frei0r=kelvra`' [frei0r-cuts]='`-vf frei0r=kelvra`, scene cuts on'
    [normalize]='`-vf normalize`' [tool]='`kelvra IN OUT`'
    [floor-uncoded]='`-vf format=bgra,format=yuv420p -f null`' [frei0r-uncoded]='`-vf frei0r=kelvra,format=yuv420p -f null`')
size=1920x1080
make_clip "$size" 150 "$work/in.mp4"
for round in $(seq "$rounds"); do
    for i in "${!names[@]}"; do
        name=${names[$(((i + round) % ${#names[@]}))]}
        echo "$size $name $(time_named "$name" "$work/in.mp4" "$work/out.mp4") $round" >>"$work/times.txt"
    done
done

# The uncoded rows are measured against the uncoded floor.
floor_of() { [[ $1 == *-uncoded ]] && echo floor-uncoded || echo floor; }

echo
echo "$size, 150 frames, H.264 in and out, median of $rounds rounds, seconds (CPU: user + system of all processes)"
echo
echo "| command | CPU | wall | CPU / floor | CPU / plain transcode |"
echo "|---|---|---|---|---|"
for name in "${names[@]}"; do
    awk -v n="${label[$name]}" -v c="$(median_of "$size" "$name" 4)" -v w="$(median_of "$size" "$name" 3)" \
        -v f="$(paired_ratios "$size" "$name" "$(floor_of "$name")" | median)" \
        -v p="$(paired_ratios "$size" "$name" plain | median)" \
        'BEGIN { printf "| %s | %.2f | %.2f | %.3f | %.2f |\n", n, c, w, f, p }'
done
