#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-2.0-or-later
# Runs a test program on a display of its own, again where it fails; skips
# (77) where Xvfb or OBS's media module is not installed.
set -u
command -v xvfb-run >/dev/null || { echo "obs.host skipped: xvfb-run is not installed (xvfb)"; exit 77; }
ls /usr/lib/*/obs-plugins/obs-ffmpeg.so >/dev/null 2>&1 ||
    { echo "obs.host skipped: OBS's media source is not installed (obs-plugins)"; exit 77; }
# llvmpipe on however many cores there are; no user's settings.
export HOME=${TMPDIR:-/tmp}/kelvra-obs-home.$$ LIBGL_ALWAYS_SOFTWARE=1
mkdir -p "$HOME"
trap 'rm -rf "$HOME"' EXIT
# OBS's media source plays in real time and skips a frame it is late for,
# which a loaded machine can make it do, so a failed run is tried again, up
# to three times; a fault that shows on every run still fails.
for run in 1 2 3; do
    xvfb-run -a -s "-screen 0 640x480x24" "$@" && exit 0
    echo "obs.host: run $run of 3 failed"
done
exit 1
