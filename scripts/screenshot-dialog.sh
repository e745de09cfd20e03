#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-2.0-or-later
# Regenerates docs/dialog.png: the settings dialog of the 64-bit build, open
# on a fresh 720 × 576 instance in the Windows test host, captured under Xvfb.
set -euo pipefail
cd "$(dirname "$0")/.."

source scripts/wine-env.sh

./scripts/build-plugin.sh >/dev/null

# The 64-bit build needs no 32-bit support (scripts/i386-probe.sh).
use_wine x64
make_prefix
# Xvfb runs no window manager: let wine draw the caption and frame itself.
"$wine" reg add 'HKCU\Software\Wine\X11 Driver' /v Decorated /d N /f >/dev/null
wineserver -k 2>/dev/null || true

mkdir -p docs
xvfb-run -a -s "-screen 0 1024x768x24" bash -c '
    log=$(mktemp)
    "$WINELOADER" build/x64/bin/kelvra_wine_tests.exe --show-dialog 3000 >"$log" &
    host=$!
    for _ in $(seq 100); do
        grep -q "^dialog" "$log" && break
        sleep 0.1
    done
    read -r _ x y w h < <(grep "^dialog" "$log" | tr -d "\r")
    sleep 1  # let it paint
    xwd -root -silent | convert xwd:- -crop "${w}x${h}+${x}+${y}" +repage docs/dialog.png
    wait "$host"
    rm -f "$log"
    wineserver -k 2>/dev/null || true'
echo "docs/dialog.png"
