# SPDX-License-Identifier: GPL-2.0-or-later
# Sourced by the benchmarks: their build, and for the end-to-end ones their
# clip, their timer and their statistics. Those define run_named NAME IN OUT
# and keep their rounds in "$work/times.txt" as lines "SIZE NAME WALL CPU
# ROUND".

# The release build the benchmarks run, in $build, with these targets built.
build=build/bench
build_targets() {
    cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null
    cmake --build "$build" --target "$@" >/dev/null
}

# A clip of testsrc2 with a colour cast, 25 fps, libx264 -crf 18 yuv420p:
# size, frames, file.
make_clip() {
    ffmpeg -hide_banner -nostdin -v error -f lavfi -i "testsrc2=size=$1:rate=25" -frames:v "$2" \
        -vf colorchannelmixer=rr=1.0:gg=0.8:bb=0.55 -c:v libx264 -crf 18 -pix_fmt yuv420p "$3"
}

# "wall cpu" seconds of one run; bash's time counts every reaped child.
time_named() {
    local TIMEFORMAT='%R %U %S'
    { time run_named "$@" >/dev/null 2>&1; } 2>&1 | awk '{ printf "%.3f %.3f\n", $1, $2 + $3 }'
}

median() { sort -g | awk '{ v[NR] = $1 } END { print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'; }

# Each round's CPU time of one command over another's: size, command, base.
paired_ratios() {
    awk -v s="$1" -v n="$2" -v b="$3" '$1 == s && $2 == b { base[$5] = $4 } $1 == s && $2 == n { cpu[$5] = $4 }
        END { for (r in cpu) print cpu[r] / base[r] }' "$work/times.txt"
}

# The median of one column of one command's rounds: size, command, column
# (3 wall, 4 CPU).
median_of() { awk -v s="$1" -v n="$2" -v c="$3" '$1 == s && $2 == n { print $c }' "$work/times.txt" | median; }
