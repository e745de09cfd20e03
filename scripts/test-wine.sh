#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-2.0-or-later
# The Windows side: builds both cross configurations, makes one wine prefix
# per build and runs each build's tests under Xvfb (the dialog tests open real
# windows). The 64-bit build runs through the 64-bit loader alone, every case
# in its own process under ctest. The 32-bit build follows the probe
# (scripts/i386-probe.sh):
#   native    as the 64-bit build;
#   emulated  every case in one process (each wine start costs about a minute
#             under qemu), its digest from the same process compared with the
#             64-bit build's; each case reported ok or FAILED by name;
#   none      every case counted as skipped, with the reason.
# Where scripts/install-deps.sh could not install wine (wine64, Xvfb), both
# builds' wine cases are skipped, and the 32-bit build's where it could not
# install wine32, each with apt's reason in one line and without the probe.
# Output for scripts/test.sh: ctest summaries, and for the emulated or skipped
# suite one line "N passed, N failed, M skipped".
set -uo pipefail
cd "$(dirname "$0")/.."
source scripts/i386-probe.sh
source scripts/wine-env.sh

./scripts/build-plugin.sh || exit 1

# Why install-deps.sh could not install a group of packages; fails where it
# installed them since, or never tried.
not_installed() { [ -s "build/not-installed/$1" ] && cat "build/not-installed/$1"; }

wine_cases() {
    local build
    for build in "$@"; do (cd "build/$build" && ctest -N -R '^wine\.'); done |
        sed -n 's/^ *Test *#[0-9]*: wine\.//p'
}

all_skipped() { echo "0 passed, 0 failed, $(wc -w <<<"$1") skipped"; }

status=0
# The binary checks need no wine.
for build in x64 x86; do (cd "build/$build" && ctest --output-on-failure -R '^plugin\.') || status=1; done
if { [ ! -x /usr/lib/wine/wine64 ] || ! command -v Xvfb >/dev/null; } && why=$(not_installed wine); then
    echo "both builds' wine tests skipped: $why"
    all_skipped "$(wine_cases x64 x86)"
    exit $status
fi

# Before the probe: once qemu is registered, wineboot would spend minutes
# setting up the 32-bit half of this prefix under emulation, for nothing.
use_wine x64
make_prefix || exit 1

display=
cleanup() {
    for build in x64 x86; do (use_wine $build && [ -d "$WINEPREFIX" ] && wineserver -k 2>/dev/null); done
    [ -n "$display" ] && kill "$display" 2>/dev/null
    i386_release
}
trap cleanup EXIT
trap 'exit 130' INT TERM

# The 32-bit build's wine tests: each case, and last the digest comparison.
x86_cases=$(wine_cases x86)

# What the 32-bit build needs: its loader starting a program in its prefix.
# Makes the prefix and lists the test host's cases; where that fails, wine's
# reason. Leaves the build's wine in use for the runs below.
x86_starts_program() {
    local start=$SECONDS log=build/x86/wine-start.log
    use_wine x86
    if [ ! -e "$prefix_ready" ]; then
        echo "making $WINEPREFIX ($i386_mode)"
        make_prefix 2>/dev/null || {
            i386_reason="wineboot: $(wine_reason "$WINEPREFIX.log")"
            return 1
        }
        echo "made $WINEPREFIX in $((SECONDS - start)) s"
    fi
    (cd build/x86/bin && WINEDEBUG=err+all timeout 900 "$wine" kelvra_wine_tests.exe --list) >"$log" 2>&1
    if ! tr -d '\r' <"$log" | grep -qxF -f <(echo "$x86_cases"); then
        i386_reason=$(wine_reason "$log")
        return 1
    fi
}

x86_skipped=
if [ ! -x "$i386_loader" ] && why=$(not_installed wine32); then
    x86_skipped=$why
else
    i386_probe x86_starts_program || exit 2
fi

# One display for every run.
display_number=$(mktemp)
Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$display_number" 2>/dev/null &
display=$!
for _ in $(seq 100); do [ -s "$display_number" ] && break; sleep 0.1; done
export DISPLAY=:$(cat "$display_number")
rm -f "$display_number"

# All cases and the digest in one process; a case that never reported failed.
one_process_x86() {
    local log=build/x86/wine-all.log passed=0 failed=0 name x64_digest start=$SECONDS
    (cd build/x86/bin && timeout 1800 "$wine" kelvra_wine_tests.exe --all --digest) | tr -d '\r' | tee "$log"
    x64_digest=$(use_wine x64 && "$wine" build/x64/bin/kelvra_wine_tests.exe --digest | tr -d '\r')
    echo "x86-64 build: $x64_digest"
    for name in $x86_cases; do
        case $name in
            both_builds_give_identical_frames) [ -n "$x64_digest" ] && grep -qxF "$x64_digest" "$log" ;;
            *) grep -qxF "ok $name" "$log" ;;
        esac && passed=$((passed + 1)) || {
            grep -qxF "FAILED $name" "$log" || echo "FAILED $name (did not report)"
            failed=$((failed + 1))
        }
    done
    echo "32-bit build, one process under qemu-i386, $((SECONDS - start)) s:"
    echo "$passed passed, $failed failed, 0 skipped"
    [ "$failed" = 0 ]
}

(cd build/x64 && ctest --output-on-failure -j2 -E '^plugin\.') || status=1
if [ -n "$x86_skipped" ]; then
    echo "32-bit build's wine tests skipped: $x86_skipped"
    all_skipped "$x86_cases"
elif [ "$i386_mode" = none ]; then
    echo "32-bit build's wine tests skipped; 32-bit programs: $i386_answer"
    all_skipped "$x86_cases"
elif [ "$i386_mode" = native ]; then
    (cd build/x86 && ctest --output-on-failure -j2 -R '^wine\.') || status=1
else
    one_process_x86 || status=1
fi
exit $status
