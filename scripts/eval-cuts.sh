#!/usr/bin/env bash
# Runs kelvra's cut detector over the clip set of make-cut-clips.sh and
# prints its misses and false cuts, and whether a flash or a fade was taken
# for a cut. Fails when there is more than one miss or one false cut, or any
# flash or fade taken.
#
#   scripts/eval-cuts.sh [KELVRA] [WIDTHxHEIGHT] [FRAMES_PER_SHOT] [SENSITIVITY]
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)

kelvra=${1:-$here/../build/native/cli/kelvra}
size=${2:-160x120}
len=${3:-10}
sensitivity=${4:-}

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
"$here/make-cut-clips.sh" "$work" "$size" "$len"
"$kelvra" --quiet --codec ffv1 --scene-cuts${sensitivity:+=$sensitivity} --stats "$work/stats.csv" \
    "$work/cuts.mkv" "$work/out.mkv"

awk -F, -v size="$size" -v len="$len" '
    FNR == NR { if ($0 ~ /^cut /) cut[$2 + 0] = 1; else if ($0 ~ /^flash /) flash[$2 + 0] = 1;
                else { split($0, f, " "); for (i = f[2]; i <= f[3]; i++) fade[i] = 1 }; next }
    FNR > 1 && $1 > 1 && $3 == 1 { found[$1 + 0] = 1 }
    END {
        for (n in cut) { cuts++; if (!(n in found)) { misses++; missed = missed " " n } }
        for (n in found) if (!(n in cut)) {
            falses++; wrong = wrong " " n
            if ((n in flash) || ((n - 1) in flash)) flashes++
            if (n in fade) fades++
        }
        printf "%s, %d frames a shot: %d cuts, %d missed%s, %d false%s, %d at a flash, %d in a fade\n",
               size, len, cuts, misses, missed, falses, wrong, flashes, fades
        exit (misses > 1 || falses > 1 || flashes > 0 || fades > 0)
    }' FS=' ' "$work/truth.txt" FS=, "$work/stats.csv"
