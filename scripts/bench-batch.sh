#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-2.0-or-later
# Times `kelvra IN... --out-dir DIR` on a folder of real clips (the videos
# opencv-doc, python3-mecavideo and node-opencv ship: 13 files, 320x240 to
# 1024x768, MPEG-4, H.264, VP9, Theora, Cinepak) at each --jobs from 1 to
# the number of cores; --jobs 1 is the files one after another. The
# settings run in a rotating order each round; the table shows medians of
# wall and CPU time (user + system of every process). "Per file" is how much
# longer a file takes than alone: jobs x wall / wall at --jobs 1, an upper
# bound, as the last files of a run have the cores to themselves.
#
#   scripts/bench-batch.sh [--kelvra PATH] [rounds]     (default 5 rounds)
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
source "$here/clip-sources.sh"
source "$here/bench-lib.sh"

kelvra=$here/../build/native/cli/kelvra
if [ "${1:-}" = --kelvra ]; then
    kelvra=$2
    shift 2
fi
rounds=${1:-5}

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
clips=()
for package in opencv-doc python3-mecavideo node-opencv; do
    root=$(package_root "$package") || exit 77
    while IFS= read -r clip; do clips+=("$clip"); done < <(find "$root" -type f \
        \( -name '*.avi' -o -name '*.mp4' -o -name '*.mov' -o -name '*.ogv' \) -path '*data*' -o -name motion.mov)
done
echo "${#clips[@]} clips, $(nproc) cores, load $(cut -d' ' -f1-3 /proc/loadavg)"

cores=$(nproc)
for ((round = 0; round < rounds; ++round)); do
    for ((i = 0; i < cores; ++i)); do
        jobs=$(((round + i) % cores + 1))
        rm -rf "$work/out"
        /usr/bin/time -f "%e %U %S" -o "$work/time" "$kelvra" "${clips[@]}" --out-dir "$work/out" \
            --jobs "$jobs" --quiet 2>/dev/null
        echo "$jobs $(awk '{ print $1, $2 + $3 }' "$work/time")" >>"$work/times.txt"
    done
done

alone=$(awk '$1 == 1 { print $2 }' "$work/times.txt" | median)
echo "| --jobs | wall s | CPU s | per file |"
echo "|---|---|---|---|"
for ((jobs = 1; jobs <= cores; ++jobs)); do
    wall=$(awk -v j="$jobs" '$1 == j { print $2 }' "$work/times.txt" | median)
    cpu=$(awk -v j="$jobs" '$1 == j { print $3 }' "$work/times.txt" | median)
    awk -v j="$jobs" -v w="$wall" -v c="$cpu" -v a="$alone" \
        'BEGIN { printf "| %d | %.2f | %.2f | %.2fx |\n", j, w, c, j * w / a }'
done
