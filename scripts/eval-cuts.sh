#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-2.0-or-later
# Runs kelvra's cut detector over a clip set and prints the weakest cut's
# score and the strongest of the other frames (--stats' cut_score), then for
# each sensitivity the misses and false cuts and whether a flash or a fade
# was taken for a cut. Sets: synthetic (make-cut-clips.sh, the default) and
# the real ones of make-real-clips.sh (photos, interiors, footage,
# same-setting). Fails when, at the first sensitivity listed, there is more
# than one miss or one false cut, or any flash or fade taken; exit status 77
# when a real set's pictures cannot be fetched.
#
#   scripts/eval-cuts.sh [--set NAME] [KELVRA] [WIDTHxHEIGHT] [FRAMES_PER_SHOT] [SENSITIVITY...]
#
# Without sensitivities the tool's default is scored.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)

set_name=synthetic
if [ "${1:-}" = --set ]; then
    set_name=$2
    shift 2
fi
kelvra=${1:-$here/../build/native/cli/kelvra}
size=${2:-160x120}
len=${3:-10}
shift $(($# < 3 ? $# : 3))
sensitivities=("${@:-}")

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
if [ "$set_name" = synthetic ]; then
    "$here/make-cut-clips.sh" "$work" "$size" "$len"
else
    status=0
    "$here/make-real-clips.sh" "$work" "$set_name" "$size" "$len" || status=$?
    [ "$status" -eq 0 ] || exit "$status"
fi

verdict=0
for sensitivity in "${sensitivities[@]}"; do
    "$kelvra" --quiet --force --codec ffv1 --scene-cuts${sensitivity:+=$sensitivity} --stats "$work/stats.csv" \
        "$work/cuts.mkv" "$work/out.mkv"
    status=0
    awk -F, -v set="$set_name" -v size="$size" -v len="$len" -v s="${sensitivity:-default}" \
        -v scores="$([ "$sensitivity" = "${sensitivities[0]}" ] && echo 1)" '
        FNR == NR { if ($0 ~ /^cut /) cut[$2 + 0] = 1; else if ($0 ~ /^flash /) flash[$2 + 0] = 1;
                    else { split($0, f, " "); for (i = f[2]; i <= f[3]; i++) fade[i] = 1 }; next }
        FNR > 1 && $1 > 1 && $3 == 1 { found[$1 + 0] = 1 }
        FNR > 1 && $1 > 1 {
            if ($1 + 0 in cut) { if (weakest == "" || $NF + 0 < weakest) { weakest = $NF + 0; at_cut = $1 } }
            else if (strongest == "" || $NF + 0 > strongest) { strongest = $NF + 0; at_other = $1 }
        }
        END {
            if (scores) printf "%s %s, %d frames a shot: the weakest cut scores %.2f (frame %d), the strongest other frame %.2f (frame %d)\n",
                               set, size, len, weakest, at_cut, strongest, at_other
            for (n in cut) { cuts++; if (!(n in found)) { misses++; missed = missed " " n } }
            for (n in found) if (!(n in cut)) {
                falses++; wrong = wrong " " n
                if ((n in flash) || ((n - 1) in flash)) flashes++
                if (n in fade) fades++
            }
            printf "%s %s, %d frames a shot, sensitivity %s: %d cuts, %d missed%s, %d false%s, %d at a flash, %d in a fade\n",
                   set, size, len, s, cuts, misses, missed, falses, wrong, flashes, fades
            exit (misses > 1 || falses > 1 || flashes > 0 || fades > 0)
        }' FS=' ' "$work/truth.txt" FS=, "$work/stats.csv" || status=$?
    [ "$sensitivity" = "${sensitivities[0]}" ] && verdict=$status
done
exit "$verdict"
