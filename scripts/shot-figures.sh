#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-2.0-or-later
# Pumping and blending of runs over the same clip, from their --stats CSV
# files; the shots and their steady levels come from a --steady run's file.
#   pumping:  over all pairs of consecutive frames inside a shot, the mean of
#             the sum over the six applied levels of |change|
#   blending: for each cut, the frames until all six applied levels are
#             within 2 of that shot's --steady levels (0: the cut's own frame
#             already is), listed, then their mean
#
#   scripts/shot-figures.sh STEADY.csv RUN.csv...
set -euo pipefail
steady=$1
shift
printf '| run | pumping | blending per cut | mean blending |\n|---|---|---|---|\n'
for run in "$@"; do
    awk -F, -v name="$(basename "$run" .csv)" '
        # The applied levels stand after what the correction measured, which
        # differs between the corrections: found by name.
        FNR == 1 { for (i = 1; i <= NF; i++) if ($i == "applied_low_r") applied[FILENAME] = i; next }
        FNR == NR { start[$1] = $3; for (i = 0; i < 6; i++) steady[$1, i] = $(applied[FILENAME] + i); next }
        {
            frame = $1
            for (i = 0; i < 6; i++) level[i] = $(applied[FILENAME] + i)
            if (start[frame] && frame > 1) { cuts++; settled = 0; count[cuts] = 0 }
            if (!start[frame]) {
                sum = 0
                for (i = 0; i < 6; i++) sum += (level[i] > last[i]) ? level[i] - last[i] : last[i] - level[i]
                pump += sum; pairs++
            }
            if (cuts && !settled) {
                near = 1
                for (i = 0; i < 6; i++) {
                    d = level[i] - steady[frame, i]
                    if (d > 2 || d < -2) near = 0
                }
                if (near) settled = 1; else count[cuts]++
            }
            for (i = 0; i < 6; i++) last[i] = level[i]
        }
        END {
            list = ""; total = 0
            for (c = 1; c <= cuts; c++) { list = list (c > 1 ? ", " : "") count[c]; total += count[c] }
            printf "| %s | %.2f | %s | %.1f |\n", name, pump / pairs, list, total / cuts
        }' "$steady" "$run"
done
