#!/usr/bin/env bash
# Installs what the tests need, builds every configuration and runs every
# test suite; ends with one summary line over all of them.
set -uo pipefail
cd "$(dirname "$0")/.."

./scripts/install-deps.sh || exit 1
./scripts/build.sh --no-demo || exit 1

passed=0
failed=0

# Runs a command that prints one or more ctest summaries and adds them up.
suite() {
    local name=$1 log lines bad total
    shift
    log=$(mktemp)
    echo "== $name"
    "$@" 2>&1 | tee "$log" | tail -n 40
    lines=$(grep -E '[0-9]+% tests passed, [0-9]+ tests? failed out of [0-9]+' "$log")
    rm -f "$log"
    if [ -z "$lines" ]; then
        echo "$name: did not run"
        failed=$((failed + 1))
        return
    fi
    while read -r line; do
        bad=$(sed -E 's/.* ([0-9]+) tests? failed out of ([0-9]+).*/\1/' <<<"$line")
        total=$(sed -E 's/.* ([0-9]+) tests? failed out of ([0-9]+).*/\2/' <<<"$line")
        passed=$((passed + total - bad))
        failed=$((failed + bad))
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

echo "Total: $passed passed, $failed failed"
[ "$failed" -eq 0 ]
