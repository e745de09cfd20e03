#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-2.0-or-later
# Remakes docs/kelvra-photo.png, the README's first picture: a photograph
# shipped in Debian's python3-skimage (NASA's portrait of Eileen Collins,
# public domain), given a warm cast with ffmpeg and corrected by kelvra's
# default correction, balance, before and after side by side. The package is fetched as the
# clip sets' pictures are (clip-sources.sh), never installed. Needs the
# native build (scripts/build.sh).
set -euo pipefail
cd "$(dirname "$0")/.."

kelvra=build/native/cli/kelvra
[ -x "$kelvra" ] || { echo "no $kelvra: run ./scripts/build.sh --no-demo first" >&2; exit 1; }
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
source scripts/clip-sources.sh
photo=$(package_root python3-skimage)/usr/lib/python3/dist-packages/skimage/data/astronaut.png
# Blue and green weakened, the blacks lifted most in red: a warm, faded cast,
# as under tungsten light.
ffmpeg -v error -nostdin -i "$photo" \
    -vf "scale=320:-2,colorchannelmixer=rr=0.95:gg=0.80:bb=0.55,colorlevels=romin=0.06:gomin=0.04:bomin=0.02" \
    "$work/cast.png"
"$kelvra" "$work/cast.png" "$work/corrected.png" --compare docs/kelvra-photo.png --force
ls -l docs/kelvra-photo.png
