#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-2.0-or-later
# Times the frame pass against the floor kernel and the plain implementation
# (bench/), then ffmpeg's normalize filter on the same frames, one thread,
# with the null filter's time subtracted, as a ratio to the floor and to the
# frame pass; then the 64-bit and the 32-bit plug-in DLLs under wine, in
# alternating runs, as ratios to each other (the 32-bit one only where the
# kernel runs 32-bit programs itself, see scripts/i386-probe.sh); last the
# kelvra tool end to end (scripts/bench-tool.sh). Quiet machines give
# steadier numbers.
#
#   scripts/bench.sh [repetitions]      (default 9)
set -euo pipefail
cd "$(dirname "$0")/.."

reps=${1:-9}
source scripts/bench-lib.sh
build_targets kelvra_bench

source scripts/i386-probe.sh
source scripts/wine-env.sh
work=$(mktemp -d)
trap 'i386_release; rm -rf "$work"' EXIT
trap 'exit 130' INT TERM

"$build/bench/kelvra_bench" --benchmark_repetitions="$reps" --benchmark_enable_random_interleaving=true \
    --benchmark_display_aggregates_only=true --benchmark_color=false | tee "$work/bench.txt"
"$build/bench/kelvra_bench" --dump-frames="$work"

# Seconds of processor time ffmpeg reports for `frames` frames through `filter`.
ffmpeg_seconds() {
    local size=$1 frames=$2 filter=$3
    ffmpeg -hide_banner -nostdin -benchmark -filter_threads 1 -threads 1 -stream_loop $((frames - 1)) \
        -f rawvideo -pix_fmt bgr0 -s "$size" -i "$work/$size.bgr0" -vf "$filter" -f null - 2>&1 |
        sed -n 's/^bench: utime=\([0-9.]*\)s.*/\1/p'
}

# Milliseconds per frame of one column of the benchmark's table.
bench_ms() {
    awk -v size="$1" -v col="$2" -F'|' '
        /^\| frame \|/ && !header { for (i = 2; i < NF; i++) { gsub(/ /, "", $i); name[i] = $i }; header = 1; next }
        header && $2 ~ " " size " " { for (i = 2; i < NF; i++) if (name[i] == col) { gsub(/ /, "", $i); print $i; exit } }
    ' "$work/bench.txt"
}

echo
echo "ffmpeg normalize, one thread, median of 5 runs less the null filter's, ms per frame"
echo
echo "| frame | normalize | ratio to floor | normalize / pass | normalize / pass+overlay |"
echo "|---|---|---|---|---|"
for run in 640x480:240 1920x1080:40 3840x2160:12; do
    size=${run%%:*}
    frames=${run#*:}
    normalize=$(for _ in 1 2 3 4 5; do ffmpeg_seconds "$size" "$frames" normalize; done | median)
    null=$(for _ in 1 2 3 4 5; do ffmpeg_seconds "$size" "$frames" null; done | median)
    awk -v n="$normalize" -v z="$null" -v f="$frames" -v floor="$(bench_ms "$size" floor)" \
        -v pass="$(bench_ms "$size" pass)" -v overlay="$(bench_ms "$size" pass+overlay)" -v size="$size" \
        'BEGIN { ms = (n - z) * 1000 / f;
                 printf "| %s | %.2f | %.2f | %.1f | %.1f |\n", size, ms, ms / floor, ms / pass, ms / overlay }'
done

scripts/bench-deep.sh "$reps"

# Both DLLs, each with its timing program beside it, in build dirs of their
# own, each run in its build's wine prefix. The 32-bit DLL only where the
# kernel runs 32-bit programs itself: under qemu its time would be qemu's.
(use_wine x64 && make_prefix) # before the probe, as in scripts/test-wine.sh
i386_probe
arches=x64
[ "$i386_mode" = native ] && arches="x64 x86"
for arch in $arches; do
    case $arch in
        x64) triple=x86_64-w64-mingw32 ;;
        x86) triple=i686-w64-mingw32 ;;
    esac
    dir=build/bench-$arch
    cmake -S . -B "$dir" -G Ninja --no-warn-unused-cli -DCMAKE_BUILD_TYPE=Release \
        -DCMAKE_TOOLCHAIN_FILE="cmake/$triple.cmake" >/dev/null
    cmake --build "$dir" --target kelvra_dll_timing >/dev/null
    (use_wine "$arch" && make_prefix)
done
rounds=3
for round in $(seq "$rounds"); do
    for arch in $arches; do
        (use_wine "$arch" && "$wine" "build/bench-$arch/bin/kelvra_dll_timing.exe") | tr -d '\r' |
            sed "s/^/$arch /" >>"$work/dll.txt"
    done
done

echo
echo "Plug-in DLLs under wine, median of $rounds alternating runs, ms per frame"
echo
if [ "$arches" = x64 ]; then
    case $i386_mode in
        emulated) echo "x86 and x86 / x64 left out: 32-bit programs run here only under qemu, which they would time." ;;
        none) echo "x86 and x86 / x64 left out: this machine runs no 32-bit programs ($i386_reason)." ;;
    esac
    echo
    echo "| case | x64 |"
    echo "|---|---|"
else
    echo "| case | x64 | x86 | x86 / x64 |"
    echo "|---|---|---|---|"
fi
awk '{ print $2 }' "$work/dll.txt" | awk '!seen[$0]++' | while read -r name; do
    x64=$(awk -v n="$name" '$1 == "x64" && $2 == n { print $3 }' "$work/dll.txt" | median)
    if [ "$arches" = x64 ]; then
        awk -v n="$name" -v a="$x64" 'BEGIN { printf "| %s | %.3f |\n", n, a }'
    else
        x86=$(awk -v n="$name" '$1 == "x86" && $2 == n { print $3 }' "$work/dll.txt" | median)
        awk -v n="$name" -v a="$x64" -v b="$x86" 'BEGIN { printf "| %s | %.3f | %.3f | %.2f |\n", n, a, b, b / a }'
    fi
done

# Shots: the cut detector over larger clip sets, then the wall time of one
# file through the default, --scene-cuts and --steady (two passes).
cmake --build build/bench --target kelvra >/dev/null
kelvra=build/bench/cli/kelvra
echo
echo "Cut detector (scripts/eval-cuts.sh, default sensitivity)"
echo
for set in 320x240:8 640x360:12 1280x720:16; do
    scripts/eval-cuts.sh "$kelvra" "${set%%:*}" "${set#*:}" || true
done
echo
echo "What the cut detector adds to a frame (thumbnail and step) beside the frame pass, ms"
echo
cmake --build "$build" --target kelvra_cut_bench >/dev/null
"$build/bench/kelvra_cut_bench" --benchmark_repetitions="$reps" --benchmark_display_aggregates_only=true \
    --benchmark_color=false
scripts/make-cut-clips.sh "$work/cuts" 1280x720 16
echo
echo "Wall time of the 1280x720 clip set (ffv1 to libx264), seconds"
echo
echo "| run | seconds |"
echo "|---|---|"
for mode in "" --scene-cuts --steady; do
    start=$(date +%s.%N)
    "$kelvra" --quiet --force $mode "$work/cuts/cuts.mkv" "$work/cuts/out.mp4"
    awk -v s="$start" -v e="$(date +%s.%N)" -v m="${mode:-default}" 'BEGIN { printf "| %s | %.2f |\n", m, e - s }'
done
# The kelvra tool on whole files against ffmpeg, up to five rounds.
echo
scripts/bench-tool.sh "$((reps < 5 ? reps : 5))"
