#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-2.0-or-later
# Regenerates docs/kdenlive-effect.png: Debian's Kdenlive under Xvfb with a
# project of one cast clip with Kelvra on it, the histograms drawn, taken from
# build/native: the plug-in as built and frei0r/kdenlive's description, never
# an installed copy.
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/apt-retry.sh
source scripts/private-home.sh

apt_install_commands kdenlive:kdenlive xvfb-run:xvfb xdotool:xdotool dbus-run-session:dbus-daemon xwd:x11-apps \
    convert:imagemagick ffmpeg:ffmpeg

cmake -S . -B build/native -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build build/native --target kelvra_frei0r >/dev/null

# No settings, effects or plug-ins of a user's Kdenlive.
private_home
export FREI0R_PATH=$PWD/build/native/frei0r
mkdir -p docs "$XDG_DATA_HOME/kdenlive/effects"
cp frei0r/kdenlive/frei0r_kelvra.xml "$XDG_DATA_HOME/kdenlive/effects/"

# Twenty seconds of ffmpeg's test pattern under a warm cast.
ffmpeg -v error -f lavfi -i testsrc2=size=1280x720:rate=25:duration=20 \
    -vf "colorchannelmixer=rr=1.0:gg=0.8:bb=0.55" -c:v libx264 -preset ultrafast -pix_fmt yuv420p "$work/clip.mp4"

# The clip on track V1 with Kelvra on it, in Kdenlive's own project format
# (MLT XML: the bin, each track a tractor of two playlists, the main tractor).
cat >"$work/kelvra.kdenlive" <<EOF
<?xml version="1.0" encoding="utf-8"?>
<mlt LC_NUMERIC="C" producer="main_bin" version="7.12.0" root="$work">
 <profile description="HD 720p 25 fps" width="1280" height="720" progressive="1"
  sample_aspect_num="1" sample_aspect_den="1" display_aspect_num="16" display_aspect_den="9"
  frame_rate_num="25" frame_rate_den="1" colorspace="709"/>
 <producer id="bin_clip" in="0" out="499">
  <property name="length">500</property>
  <property name="resource">$work/clip.mp4</property>
  <property name="mlt_service">avformat-novalidate</property>
  <property name="kdenlive:id">2</property>
  <property name="kdenlive:clip_type">2</property>
  <property name="kdenlive:folderid">-1</property>
 </producer>
 <playlist id="main_bin">
  <property name="kdenlive:docproperties.version">1.04</property>
  <property name="kdenlive:docproperties.profile">atsc_720p_25</property>
  <property name="xml_retain">1</property>
  <entry producer="bin_clip" in="0" out="499"/>
 </playlist>
 <producer id="black_track" in="0" out="499">
  <property name="length">2147483647</property>
  <property name="resource">black</property>
  <property name="mlt_service">color</property>
  <property name="kdenlive:playlistid">black_track</property>
 </producer>
 <producer id="track_clip" in="0" out="499">
  <property name="length">500</property>
  <property name="resource">$work/clip.mp4</property>
  <property name="mlt_service">avformat-novalidate</property>
  <property name="kdenlive:id">2</property>
 </producer>
 <playlist id="v1_a">
  <entry producer="track_clip" in="0" out="499">
   <property name="kdenlive:id">2</property>
   <filter id="kelvra">
    <property name="mlt_service">frei0r.kelvra</property>
    <property name="kdenlive_id">frei0r.kelvra</property>
    <property name="Histogram">1</property>
   </filter>
  </entry>
 </playlist>
 <playlist id="v1_b"/>
 <tractor id="v1" in="0" out="499">
  <property name="kdenlive:trackheight">60</property>
  <property name="kdenlive:track_name">V1</property>
  <track producer="v1_a"/>
  <track producer="v1_b"/>
 </tractor>
 <tractor id="timeline" global_feed="1" in="0" out="499">
  <track producer="black_track"/>
  <track producer="v1"/>
 </tractor>
</mlt>
EOF

export work
# Kdenlive wants a session bus; the session ends with the shell it runs.
xvfb-run -a -s "-screen 0 1600x1000x24" dbus-run-session -- bash -c '
    kdenlive --qwindowgeometry 1600x1000+0+0 "$work/kelvra.kdenlive" >"$work/kdenlive.log" 2>&1 &
    app=$!
    for _ in $(seq 120); do
        xdotool search --onlyvisible --name "kelvra" >/dev/null 2>&1 && break
        sleep 1
    done
    sleep 10
    click() { xdotool mousemove "$1" "$2" click 1; sleep 2; }
    click 140 100      # the clip in the bin: the clip monitor shows it as it is
    click 230 545      # the clip on V1: its effects open beside the timeline
    click 213 392      # the Effects tab
    click 200 77       # its search field
    xdotool type --delay 100 kelvra
    sleep 3
    # The window down to the one track of the timeline, not the empty rest.
    xwd -root -silent | convert xwd:- -crop 1600x780+0+0 +repage docs/kdenlive-effect.png
    kill "$app"
    wait "$app" || true'
echo "docs/kdenlive-effect.png"
