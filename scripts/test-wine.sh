#!/usr/bin/env bash
# The Windows side: builds both cross configurations, prepares a wine prefix
# and runs each build's tests under Xvfb (the dialog tests open real
# windows). Each ctest run prints its own summary; scripts/test.sh adds them.
set -uo pipefail
cd "$(dirname "$0")/.."

./scripts/build-plugin.sh || exit 1

export WINEPREFIX=$PWD/build/wine
export WINEDLLOVERRIDES=mscoree,mshtml=  # never stop to offer Mono or Gecko
export WINEDEBUG=-all
if [ ! -f "$WINEPREFIX/system.reg" ]; then
    wineboot -i || exit 1
    wineserver -w
fi

# One display for both runs, and a wineserver that starts and ends with it.
wineserver -k 2>/dev/null
xvfb-run -a -s "-screen 0 1280x1024x24" bash -c '
    status=0
    for dir in build/x64 build/x86; do
        (cd "$dir" && ctest --output-on-failure -j2) || status=1
    done
    wineserver -k 2>/dev/null
    exit $status'
