#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-2.0-or-later
# Makes a clip of many short shots from ffmpeg's own sources, each with its
# own colour cast, losslessly joined, and the truth about it: where the cuts
# are, which frames are flashes of one or two frames, which frames are slow
# fades.
# Two neighbouring shots show the same pattern under different casts.
#
#   scripts/make-cut-clips.sh FOLDER [WIDTHxHEIGHT] [FRAMES_PER_SHOT]
#
# Writes FOLDER/cuts.mkv and FOLDER/truth.txt (lines "cut N", "flash N",
# "fade FIRST LAST", frames counted from 1).
set -euo pipefail
source "$(dirname "$0")/clip-set.sh"

folder=$1
size=${2:-160x120}
len=${3:-10}
mkdir -p "$folder"
rm -f "$folder"/segment-*.mkv "$folder/truth.txt"

# Source|cast|event. Event: flash (a brightened frame mid-shot), flash2 (two
# such frames), white (a white frame mid-shot), fadeout (the shot ends with a fade to black over
# `len` frames), xfade:SOURCE|CAST (a dissolve over `len` frames into the next
# pattern, with no cut).
shots=(
    "testsrc2|romin=0.10:romax=0.80:bomin=0.20|"
    "testsrc2|gomin=0.12:bomax=0.70:romax=0.90|"
    "smptebars|romin=0.15:gomax=0.85|"
    "mandelbrot|bomin=0.10:romax=0.75|"
    "gradients=c0=0x203040:c1=0xe0c0a0:speed=0.05|gomin=0.10:bomax=0.85|flash"
    "cellauto=rule=110|romin=0.20:gomin=0.10:bomin=0.05|"
    "life=life_color=0xc0e040:death_color=0x402010:mold=10|bomax=0.80|"
    "rgbtestsrc|romax=0.70:bomin=0.10|"
    "colorchart|gomin=0.15:romax=0.85|"
    "sierpinski|romin=0.05:bomax=0.75|fadeout"
    "smptehdbars|bomin=0.20:gomax=0.80|"
    "gradients=c0=0x804020:c1=0x20a0c0:speed=0.04|romax=0.85:gomin=0.08|"
    "pal75bars|romin=0.12:gomin=0.12|white"
    "colorspectrum|bomin=0.15:romax=0.80|"
    "mandelbrot=start_scale=1.5|romin=0.10:bomax=0.85|xfade:testsrc2|gomin=0.20:romax=0.75"
    "yuvtestsrc|romax=0.75:gomin=0.05|"
    "testsrc|bomin=0.18:gomax=0.82|"
    "life=life_color=0x40c0ff:death_color=0x101010:mold=5|romin=0.15|flash2"
    "gradients=c0=0x402060:c1=0xf0f080:speed=0.06|bomax=0.70:romin=0.05|"
    "cellauto=rule=30|gomax=0.75:bomin=0.10|"
    "smptebars|bomin=0.25:romax=0.80|"
    "colorchart|romin=0.20:bomax=0.90|white"
    "sierpinski=type=triangle|gomin=0.18:romax=0.88|"
)

# The colour chart has no size of its own; it is scaled to the others'.
source_graph() {
    local source=$1 cast=$2 frames=$3
    local sep=":"
    [[ $source == *=* ]] || sep="="
    # Sources that draw at random get a seed, so the set is the same each time.
    if [[ $source =~ ^(life|cellauto|sierpinski|gradients) ]]; then
        source="${source}${sep}seed=1"
        sep=":"
    fi
    if [[ $source == colorchart* ]]; then
        source="${source}${sep}rate=25,scale=$size"
    else
        source="${source}${sep}size=$size:rate=25"
    fi
    echo "$source,format=rgb24,colorlevels=$cast,trim=end_frame=$frames"
}

# SOURCE|CAST, as add_shot hands it.
shot_graph() {
    local source cast
    IFS='|' read -r source cast <<<"$1"
    source_graph "$source" "$cast" "$2"
}

encode() {
    ffmpeg -nostdin -v error -y -f lavfi -i "$1" -frames:v "$2" -c:v ffv1 -pix_fmt bgr0 "$3"
}

flash_level=0.45
start_set
for entry in "${shots[@]}"; do
    IFS='|' read -r source cast event <<<"$entry"
    next=""
    if [[ $event == xfade:* ]]; then
        next=${event#xfade:}
        event=dissolve
    fi
    add_shot "$source|$cast" "$event" "$len" "$next"
done
finish_set
