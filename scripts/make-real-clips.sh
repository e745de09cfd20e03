#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-2.0-or-later
# Makes a clip set from real pictures and the truth about it, in the form of
# make-cut-clips.sh (FOLDER/cuts.mkv, FOLDER/truth.txt). Three sets:
#
#   photos     photographs of python3-skimage and libjxl-testdata, each made a
#              shot with a camera's life (slow pans and zooms, sensor noise, a
#              little flicker); cuts between pictures of like tone (two dark,
#              two bright, one picture under two casts), flashes, a fade to
#              black and a dissolve
#   interiors  the same photographs as dark interiors in warm light, cut to
#              one another (one room from two sides among them), with a
#              hand-held camera's shake and fast pans inside shots
#   footage    real video of opencv-doc: people walking, leaves in the wind
#              and a hand before the lens, an animated film with cuts of its
#              own; joined with hard cuts, some parts under a colour cast
#   same-setting  cuts within one setting, all in plain light: parts of one
#              video (the same street, tree or film scene) and framings of
#              one photograph (a person's face and portrait, one room, one
#              cat, one cup), with two-frame flashes
#
#   scripts/make-real-clips.sh FOLDER SET [WIDTHxHEIGHT] [FRAMES_PER_SHOT]
#
# The packages are fetched, never installed (see clip-sources.sh); exit
# status 77 when they cannot be had.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
source "$here/clip-sources.sh"
source "$here/clip-set.sh"

folder=$1
set_name=$2
size=${3:-320x240}
len=${4:-12}
width=${size%x*}
height=${size#*x}
mkdir -p "$folder"
rm -f "$folder"/segment-*.mkv "$folder"/still-*.png "$folder/truth.txt"

case $set_name in
photos | interiors) packages=(python3-skimage libjxl-testdata) ;;
footage) packages=(opencv-doc) ;;
same-setting) packages=(python3-skimage libjxl-testdata opencv-doc) ;;
*)
    echo "unknown clip set: $set_name (photos, interiors, footage or same-setting)" >&2
    exit 2
    ;;
esac
declare -A root
for package in "${packages[@]}"; do
    root[$package]=$(package_root "$package") || exit 77
done

# A picture by its short name.
picture() {
    local skimage="${root[python3-skimage]:-}/usr/lib/python3/dist-packages/skimage/data"
    local jxl="${root[libjxl-testdata]:-}/usr/share/libjxl-testdata"
    local opencv="${root[opencv-doc]:-}/usr/share/doc/opencv-doc/examples/data"
    case $1 in
    flower) echo "$jxl/jxl/flower/flower.png" ;;
    room) echo "$jxl/jxl/hdr_room.png" ;;
    blossom) echo "$jxl/external/wesaturate/500px/u76c0g_bliznaca_srgb8.png" ;;
    coast) echo "$jxl/external/wesaturate/500px/cvo9xd_keong_macan_srgb8.png" ;;
    tulips) echo "$jxl/external/wesaturate/500px/tmshre_riaphotographs_srgb8.png" ;;
    walkers) echo "$opencv/vtest.avi" ;;
    tree) echo "$opencv/tree.avi" ;;
    film) echo "$opencv/Megamind.avi" ;;
    *)
        local name
        for name in "$skimage/$1.png" "$skimage/$1.jpg"; do
            [ -e "$name" ] && echo "$name" && return
        done
        echo "no picture named $1" >&2
        return 1
        ;;
    esac
}

# A picture as an 8-bit PNG no larger than a fast pan needs, made once.
still() {
    local png="$folder/still-$1.png"
    [ -e "$png" ] || ffmpeg -nostdin -v error -y -i "$(picture "$1")" -frames:v 1 \
        -vf "scale='min(iw,$((3 * width)))':'min(ih,$((3 * height)))':force_original_aspect_ratio=increase,format=rgb24" "$png"
    echo "$png"
}

# Looks, as filters on RGB: casts, and the dark warm light of an interior.
look() {
    case $1 in
    plain) echo "null" ;;
    warm) echo "colorlevels=romin=0.06:bomax=0.78:gomax=0.92" ;;
    cool) echo "colorlevels=bomin=0.08:romax=0.76:gomax=0.94" ;;
    green) echo "colorlevels=gomin=0.07:romax=0.85:bomax=0.82" ;;
    magenta) echo "colorlevels=romin=0.05:bomin=0.06:gomax=0.80" ;;
    dark) echo "eq=gamma=0.75:brightness=-0.08,format=rgb24,colorlevels=romax=0.7:gomax=0.7:bomax=0.75" ;;
    darkwarm) echo "colorchannelmixer=rr=0.78:gg=0.56:bb=0.34,eq=gamma=0.72,format=rgb24" ;;
    dimwarm) echo "colorchannelmixer=rr=0.66:gg=0.50:bb=0.33,eq=gamma=0.78,format=rgb24" ;;
    *)
        echo "no look named $1" >&2
        return 1
        ;;
    esac
}

# The moving camera over a still picture, made `frames` long at the set's
# size. CAMERA: still, pan:VX:VY (a share of the width or height a frame),
# zoom:RATE (zoom change a frame, below 0 out), shake:PIXELS (hand-held).
# REGION: X:Y:W:H, the part of the picture the shot frames, as shares.
camera() {
    local camera=$1 region=$2 frames=$3
    local kind=${camera%%:*} args=${camera#*:} crop=""
    if [ -n "$region" ]; then
        IFS=: read -r rx ry rw rh <<<"$region"
        crop="crop=iw*$rw:ih*$rh:iw*$rx:ih*$ry,"
    fi
    case $kind in
    zoom)
        echo "${crop}scale=$((2 * width)):$((2 * height)):force_original_aspect_ratio=increase,crop=$((2 * width)):$((2 * height)),zoompan=z='max(1.001,1.15+$args*(on-$frames/2))':x='iw/2-iw/zoom/2':y='ih/2-ih/zoom/2':d=1:s=${size}:fps=25"
        ;;
    still | pan | shake)
        local vx=0 vy=0 amp=0.6
        [ "$kind" = pan ] && IFS=: read -r vx vy <<<"$args"
        [ "$kind" = shake ] && amp=$args
        local margin
        margin=$(awk -v vx="$vx" -v vy="$vy" -v f="$frames" -v a="$amp" -v w="$width" 'BEGIN {
            m = (vx < 0 ? -vx : vx) * f; n = (vy < 0 ? -vy : vy) * f; if (n > m) m = n
            printf "%.3f", 1.04 + m + 6 * a / w }')
        echo "${crop}scale=ceil($width*$margin/2)*2:ceil($height*$margin/2)*2:force_original_aspect_ratio=increase,crop=$width:$height:x='(iw-ow)/2+$vx*ow*(n-$frames/2)+$amp*(sin(n*1.9)+0.7*sin(n*4.3+1))':y='(ih-oh)/2+$vy*oh*(n-$frames/2)+$amp*(sin(n*2.3+2)+0.6*sin(n*5.1))'"
        ;;
    *)
        echo "no camera named $kind" >&2
        return 1
        ;;
    esac
}

# Sensor noise that changes every frame and a little flicker of the light:
# a gain of up to 2.5 % on the luma (eq's contrast turns about 128, the
# brightness half the gain's change puts the turning point at 0).
flicker="0.015*sin(n*2.7)+0.01*sin(n*6.1)"
life="format=yuv444p,noise=c0s=5:c1s=3:c2s=3:allf=t,eq=contrast='1+$flicker':brightness='($flicker)/2':eval=frame,format=rgb24"

# One shot's frames as a filter graph. Shot: SOURCE|CAMERA|LOOK|REGION, a
# still picture, or video:NAME:FIRST (a video's frames from FIRST, counted
# from 0, every frame taken as one of 25 a second) with CAMERA unused.
shot_graph() {
    local source camera look region frames=$2
    IFS='|' read -r source camera look region <<<"$1"
    if [[ $source == video:* ]]; then
        IFS=: read -r _ name first <<<"$source"
        echo "movie='$(picture "$name")',trim=start_frame=$first:end_frame=$((first + frames)),setpts=N/25/TB,scale=$size,format=rgb24,$(look "$look")"
    else
        echo "movie='$(still "$source")':loop=0,setpts=N/25/TB,format=rgb24,$(camera "$camera" "$region" "$frames"),format=rgb24,$(look "$look"),$life"
    fi
}

encode() {
    ffmpeg -nostdin -v error -y -f lavfi -i "$1,format=rgb24,trim=end_frame=$2" -frames:v "$2" -r 25 -c:v ffv1 \
        -pix_fmt bgr0 "$3"
}

# Shot|EVENT|FRAMES|OWN_CUTS. Events as add_shot of clip-set.sh takes them: flash, white,
# fadeout, dissolve (over `len` frames into the next shot of the list, no
# cut). FRAMES overrides the shot's length `len`; OWN_CUTS are the frames of
# a video (from 0) that start shots of its own.
case $set_name in
photos)
    shots=(
        "flower|pan:0.004:0.001|plain||"
        "astronaut|zoom:0.004|warm||"
        "rocket|pan:0:-0.004|plain||"
        "hubble_deep_field|zoom:0.003|plain||"
        "coffee|pan:-0.003:0|plain||flash"
        "chelsea|zoom:0.003|warm||"
        "chelsea|zoom:0.003|cool||"
        "tulips|pan:0.003:0.002|plain||"
        "blossom|pan:-0.004:0|plain||white"
        "coast|zoom:-0.003|plain||fadeout"
        "motorcycle_left|pan:0.004:0|plain||dissolve"
        "room|zoom:0.002|plain||"
        "retina|shake:1.5|plain||"
        "flower|pan:0.03:0.004|green||"
        "coffee|zoom:-0.004|magenta||"
        "astronaut|shake:2|dark||flash"
        "rocket|zoom:0.004|dark||"
        "tulips|pan:0:0.004|cool||"
        "blossom|zoom:0.004|warm||"
    )
    ;;
interiors)
    shots=(
        "room|pan:0.002:0|darkwarm|0:0.1:0.55:0.9|"
        "room|pan:-0.002:0|darkwarm|0.45:0.1:0.55:0.9|"
        "coffee|shake:2|darkwarm||"
        "motorcycle_left|pan:0.025:0|darkwarm||"
        "room|zoom:0.003|dimwarm|0.15:0.2:0.5:0.75|flash"
        "chelsea|shake:2.5|darkwarm||"
        "coffee|zoom:-0.004|dimwarm|0.2:0.2:0.6:0.6|"
        "room|pan:0:0.004|darkwarm|0.3:0:0.4:1|"
        "motorcycle_left|zoom:0.004|dimwarm|0.4:0.2:0.5:0.6|fadeout"
        "room|shake:3|darkwarm||dissolve"
        "coffee|pan:0.02:0.01|darkwarm||"
        "room|pan:-0.03:0|dimwarm|0:0.2:1:0.7|"
        "chelsea|zoom:0.005|dimwarm|0.2:0.1:0.6:0.7|"
    )
    ;;
footage)
    # The film's own shots start at its frames 98, 154 and 200 (from 0).
    shots=(
        "video:walkers:0||warm|||60|"
        "video:tree:0||plain|||68|"
        "video:film:40||cool|||220|98 154 200"
        "video:walkers:200||plain||flash|60|"
        "video:tree:0||magenta|||68|"
        "video:walkers:400||green||fadeout|60|"
        "video:film:180||plain|||40|200"
    )
    ;;
same-setting)
    # Regions frame a part of the picture: the astronaut's face, then her
    # portrait; the room's left side, its middle, its right side.
    shots=(
        "video:walkers:0||plain|||40|"
        "video:walkers:300||plain|||40|"
        "video:walkers:600||plain||flash2|40|"
        "astronaut|zoom:0.003|plain|0.25:0.02:0.5:0.5||"
        "astronaut|pan:0.002:0|plain|0:0:1:1||"
        "astronaut|shake:1.5|plain|0.1:0:0.8:0.8||"
        "room|pan:0.002:0|plain|0:0.1:0.55:0.9||"
        "room|zoom:0.003|plain|0.3:0.15:0.5:0.7|flash2|"
        "room|pan:-0.002:0|plain|0.45:0.1:0.55:0.9||"
        "chelsea|zoom:0.003|plain|0.3:0.1:0.5:0.6||"
        "chelsea|pan:0.002:0|plain|0:0:1:1||"
        "coffee|shake:2|plain|0:0:0.6:0.6||"
        "coffee|zoom:-0.003|plain|0.3:0.3:0.7:0.7||"
        "video:film:100||plain|||30|"
        "video:film:160||plain|||30|"
    )
    ;;
esac

flash_level=0.5
start_set
for ((i = 0; i < ${#shots[@]}; i++)); do
    IFS='|' read -r source camera look region event frames own_cuts <<<"${shots[$i]}"
    next=""
    if [ "$event" = dissolve ]; then
        i=$((i + 1))
        IFS='|' read -r next_source next_camera next_look next_region _ <<<"${shots[$i]}"
        next="$next_source|$next_camera|$next_look|$next_region"
    fi
    add_shot "$source|$camera|$look|$region" "$event" "${frames:-$len}" "$next"
    for own in $own_cuts; do
        [[ $source =~ :([0-9]+)$ ]]
        own=$((own - BASH_REMATCH[1]))
        [ "$own" -gt 0 ] && [ "$own" -lt "$shot_frames" ] && echo "cut $((shot_first + own))" >>"$folder/truth.txt"
    done
done
finish_set
rm -f "$folder"/still-*.png
