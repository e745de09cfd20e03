# SPDX-License-Identifier: GPL-2.0-or-later
# shellcheck shell=bash
# Sourced by the clip set scripts: a set is made shot by shot, each shot a
# filter graph from the caller's `shot_graph SHOT FRAMES`, written by its
# `encode GRAPH FRAMES FILE`, and the truth about it kept in
# $folder/truth.txt (lines "cut N", "flash N", "fade FIRST LAST", frames
# counted from 1).
#   start_set                          once $folder and $len are set
#   add_shot SHOT EVENT FRAMES [NEXT]  a shot of FRAMES frames and its EVENT:
#       flash (a frame mid-shot, its highlights raised to $flash_level),
#       flash2 (the same over two frames), white (a white frame mid-shot),
#       fadeout (then a fade to black over $len frames more), dissolve (over
#       $len frames into the shot NEXT, with no cut), or none. Leaves the
#       shot's first frame in $shot_first and its length in $shot_frames.
#   finish_set                         joins the shots into $folder/cuts.mkv

start_set() {
    first=1
    index=0
    list="$folder/segments.txt"
    : >"$list"
}

add_shot() {
    local shot=$1 event=$2 frames=$3 next=${4:-} graph seconds out
    local middle=$((frames / 2)) truth="$folder/truth.txt"
    case $event in
    flash | flash2)
        local last=$middle
        [ "$event" = flash2 ] && last=$((middle + 1))
        graph="$(shot_graph "$shot" "$frames"),colorlevels=rimax=$flash_level:gimax=$flash_level:bimax=$flash_level:enable=between(n\\,$middle\\,$last)"
        for ((n = middle; n <= last; n++)); do echo "flash $((first + n))" >>"$truth"; done
        ;;
    white)
        graph="$(shot_graph "$shot" "$frames"),drawbox=c=white:t=fill:enable=eq(n\\,$middle)"
        echo "flash $((first + middle))" >>"$truth"
        ;;
    fadeout)
        graph="$(shot_graph "$shot" "$((frames + len))"),fade=t=out:start_frame=$frames:nb_frames=$len"
        echo "fade $((first + frames)) $((first + frames + len - 1))" >>"$truth"
        frames=$((frames + len))
        ;;
    dissolve)
        seconds=$(awk -v n="$len" 'BEGIN { printf "%.2f", n / 25 }')
        graph="$(shot_graph "$shot" "$((2 * len))")[a];$(shot_graph "$next" "$((2 * len))")[b];[a][b]xfade=transition=fade:duration=$seconds:offset=$seconds"
        echo "fade $((first + len)) $((first + 2 * len - 1))" >>"$truth"
        frames=$((3 * len))
        ;;
    *) graph=$(shot_graph "$shot" "$frames") ;;
    esac
    out=$(printf '%s/segment-%02d.mkv' "$folder" "$index")
    encode "$graph" "$frames" "$out"
    [ "$first" -gt 1 ] && echo "cut $first" >>"$truth"
    echo "file '$(basename "$out")'" >>"$list"
    shot_first=$first
    shot_frames=$frames
    first=$((first + frames))
    index=$((index + 1))
}

finish_set() {
    ffmpeg -nostdin -v error -y -f concat -safe 0 -i "$list" -c copy "$folder/cuts.mkv"
    rm -f "$folder"/segment-*.mkv "$list"
    sort -k2 -n -o "$folder/truth.txt" "$folder/truth.txt"
}
