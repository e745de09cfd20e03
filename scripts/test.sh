#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-2.0-or-later
# Installs what the tests need, builds every configuration and runs every
# test suite; ends with one summary line over all of them,
# "Total: N passed, N failed, M skipped"; exit status 0 when nothing failed.
set -uo pipefail
cd "$(dirname "$0")/.."

./scripts/install-deps.sh test || exit 1
./scripts/build.sh --no-demo || exit 1

passed=0
failed=0
skipped=0
# Repeated at the end: the wine suite's answer to whether 32-bit programs run
# here, and why a suite was skipped.
notes=$(mktemp)
trap 'rm -f "$notes"' EXIT

# Runs a command and adds up the counts it prints, in either of two forms:
#   ctest's summary    "100% tests passed, 0 tests failed out of 36", less
#                      the tests it lists as "(Skipped)"
#   a line of its own  "35 passed, 1 failed, 0 skipped"  (the whole line)
# The second is for suites that run outside ctest or not at all: the wine
# suite of the 32-bit build under emulation or without 32-bit support. A
# skipped case counts as skipped only, never as passed. A suite that prints
# neither did not run and counts as one failure.
suite() {
    local name=$1 log lines line bad total good skip
    shift
    log=$(mktemp)
    echo "== $name"
    "$@" 2>&1 | tee "$log" | tail -n 40
    grep -hE '^32-bit programs:|^[A-Za-z0-9].* skipped: ' "$log" >>"$notes"
    lines=$(tr -d '\r' <"$log" | grep -E '[0-9]+% tests passed, [0-9]+ tests? failed out of [0-9]+$|^[0-9]+ passed, [0-9]+ failed, [0-9]+ skipped$')
    # ctest counts a test that skipped itself among the passed ones and
    # lists it apart, "  60 - Name (Skipped)".
    skip=$(tr -d '\r' <"$log" | grep -cE '^[[:space:]]*[0-9]+ - .* \(Skipped\)$')
    passed=$((passed - skip))
    skipped=$((skipped + skip))
    rm -f "$log"
    if [ -z "$lines" ]; then
        echo "$name: did not run"
        failed=$((failed + 1))
        return
    fi
    while read -r line; do
        if [[ $line == *"out of"* ]]; then
            read -r bad total < <(sed -E 's/.* ([0-9]+) tests? failed out of ([0-9]+)$/\1 \2/' <<<"$line")
            passed=$((passed + total - bad))
            failed=$((failed + bad))
        else
            read -r good bad skip < <(sed -E 's/^([0-9]+) passed, ([0-9]+) failed, ([0-9]+) skipped$/\1 \2 \3/' <<<"$line")
            passed=$((passed + good))
            failed=$((failed + bad))
            skipped=$((skipped + skip))
        fi
    done <<<"$lines"
}

ctest_in() { (cd "$1" && ctest --output-on-failure -j2); }

sanitized() {  # build dir, sanitizers
    cmake -S . -B "$1" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DKELVRA_SANITIZE="$2" >/dev/null &&
        cmake --build "$1" && ctest_in "$1"
}

suite "native" ctest_in build/native
suite "address and undefined-behaviour sanitizers" sanitized build/asan address,undefined
# Extra suites: every executable scripts/test-<name>.sh, each printing ctest
# summaries of its own.
for extra in scripts/test-*.sh; do
    [ -x "$extra" ] && suite "$extra" "$extra"
done

cat "$notes"
echo "Total: $passed passed, $failed failed, $skipped skipped"
[ "$failed" -eq 0 ]
