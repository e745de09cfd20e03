#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-2.0-or-later
# Regenerates docs/obs-filter.png: Debian's OBS Studio under Xvfb with a scene
# of a cast photo as it is and again with Kelvra on it, and that source's
# Filters window open on Kelvra's properties. The module is the one in
# build/native, never an installed copy, and OBS runs in a home of its own.
# Needs obs-studio, xvfb, xauth, xdotool, x11-apps (xwd), imagemagick and
# ffmpeg (it installs those missing) and unshare (util-linux).
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/apt-retry.sh
source scripts/private-home.sh

apt_install_commands obs:obs-studio xvfb-run:xvfb xauth:xauth xdotool:xdotool xwd:x11-apps convert:imagemagick ffmpeg:ffmpeg

cmake -S . -B build/native -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build build/native --target kelvra_obs >/dev/null

# No settings, scenes or plug-ins of a user's OBS.
private_home
obs_config=$XDG_CONFIG_HOME/obs-studio
mkdir -p docs "$obs_config/plugins" "$obs_config/basic/profiles/Kelvra" "$obs_config/basic/scenes"
# The user's plug-in folder, laid out as the build lays it out.
cp -r build/native/obs/plugins/kelvra-obs "$obs_config/plugins/"

# The README photo's left half: the portrait under its warm cast.
ffmpeg -v error -nostdin -i docs/kelvra-photo.png -vf "crop=iw/2:ih:0:0" "$work/cast.png"

# FirstRun skips the auto-configuration wizard; the profile and scene
# collection are named so OBS opens these rather than making its own.
cat >"$obs_config/global.ini" <<EOF
[General]
FirstRun=true

[Basic]
Profile=Kelvra
ProfileDir=Kelvra
SceneCollection=Kelvra
SceneCollectionFile=Kelvra
EOF
cat >"$obs_config/basic/profiles/Kelvra/basic.ini" <<EOF
[General]
Name=Kelvra

[Video]
BaseCX=1280
BaseCY=720
OutputCX=1280
OutputCY=720
FPSType=0
FPSCommon=30
EOF
# One scene: the photo as it is on the left, the same photo with Kelvra on
# the right, each scaled to half the canvas, black above and below.
cat >"$obs_config/basic/scenes/Kelvra.json" <<EOF
{
  "name": "Kelvra",
  "current_scene": "Scene",
  "current_program_scene": "Scene",
  "scene_order": [{"name": "Scene"}],
  "current_transition": "Fade",
  "transition_duration": 300,
  "transitions": [],
  "sources": [
    {
      "id": "scene", "versioned_id": "scene", "name": "Scene",
      "settings": {
        "id_counter": 2,
        "items": [
          {
            "name": "Photo as shot", "id": 1, "visible": true, "locked": false,
            "pos": {"x": 0.0, "y": 40.0}, "scale": {"x": 1.0, "y": 1.0}, "rot": 0.0,
            "align": 5, "bounds_type": 2, "bounds_align": 0, "bounds": {"x": 640.0, "y": 640.0}
          },
          {
            "name": "Photo with Kelvra", "id": 2, "visible": true, "locked": false,
            "pos": {"x": 640.0, "y": 40.0}, "scale": {"x": 1.0, "y": 1.0}, "rot": 0.0,
            "align": 5, "bounds_type": 2, "bounds_align": 0, "bounds": {"x": 640.0, "y": 640.0}
          }
        ]
      }
    },
    {
      "id": "image_source", "versioned_id": "image_source", "name": "Photo as shot",
      "settings": {"file": "$work/cast.png"}
    },
    {
      "id": "image_source", "versioned_id": "image_source", "name": "Photo with Kelvra",
      "settings": {"file": "$work/cast.png"},
      "filters": [{"id": "kelvra_filter", "versioned_id": "kelvra_filter", "name": "Kelvra", "settings": {}}]
    }
  ]
}
EOF

export work
# OBS asks the net for its streaming services' list at start: run it without
# one (a network namespace of its own; X still reaches it through its socket).
xvfb-run -a -s "-screen 0 1700x1000x24" bash -c '
    unshare --map-root-user --net obs --multi --disable-updater --disable-missing-files-check \
        --profile Kelvra --collection Kelvra >"$work/obs.log" 2>&1 &
    app=$!
    for _ in $(seq 120); do
        xdotool search --onlyvisible --name "Scenes: Kelvra" >/dev/null 2>&1 && break
        sleep 1
    done
    sleep 5
    click() { xdotool mousemove "$1" "$2" click 1; sleep 2; }
    # Tall enough that the docks and the preview fill the screen from top to bottom.
    xdotool windowsize "$(xdotool search --onlyvisible --name "Scenes: Kelvra")" 1100 990
    sleep 2
    click 310 793      # the photo with Kelvra, at the top of Sources
    click 370 711      # Filters, under the preview: Kelvra comes up selected
    filters=$(timeout 30 xdotool search --sync --onlyvisible --name "Filters for") || {
        echo "no Filters window opened; OBS said:" >&2
        tail -n 20 "$work/obs.log" >&2
        kill "$app"
        exit 1
    }
    # Without a window manager the window paints only once moved or resized;
    # this size shows every property below the filter preview.
    xdotool windowmove "$filters" 640 40 windowsize "$filters" 1040 940
    click 140 65       # the black band above the photos: no source selected, no guides drawn
    sleep 2
    xwd -root -silent | convert xwd:- -crop 1690x990+0+0 +repage -resize 1000x \
        -strip -define png:compression-level=9 docs/obs-filter.png
    kill "$app"
    wait "$app" || true'
ls -l docs/obs-filter.png
