#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-2.0-or-later
# The release files as a user meets them: the Debian package checked by
# lintian, unpacked into a scratch folder (dpkg-deb -x) and its kelvra,
# manual page, completion and frei0r plug-in used from there; the plug-in
# bundle unpacked, its DLLs checked for their machines and against its
# SHA-256 sums, its licence against the project's. Ends with one line
# "N passed, N failed, M skipped".
set -uo pipefail
cd "$(dirname "$0")/.." || exit 1

passed=0
failed=0
skipped=0
pass() { echo "ok       $1"; passed=$((passed + 1)); }
fail() { echo "FAILED   $1: $2"; failed=$((failed + 1)); }
skip() { echo "skipped  $1: $2"; skipped=$((skipped + 1)); }
summary() { echo "$passed passed, $failed failed, $skipped skipped"; }

scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
if ! ./scripts/package.sh >"$scratch/package.log" 2>&1; then
    tail -n 20 "$scratch/package.log"
    fail "scripts/package.sh" "it failed"
    summary
    exit 1
fi
deb=$(ls dist/kelvra_*_amd64.deb)
root=$scratch/root
export LC_ALL=C.UTF-8

# The .deb's version is a Debian revision of the one kelvra reports and the
# bundle and the source carry, and dpkg-shlibdeps found FFmpeg's libraries.
test_package() {
    local version upstream depends
    dpkg-deb -x "$deb" "$root" || { fail package "dpkg-deb -x $deb failed"; return; }
    version=$(dpkg-deb -f "$deb" Version)
    upstream=${version%-*}
    depends=$(dpkg-deb -f "$deb" Depends)
    if [ "$deb" != "dist/kelvra_${version}_amd64.deb" ] || [ "$upstream" = "$version" ]; then
        fail package "$deb is not named for its version $version, or that has no Debian revision"
    elif [ "$("$root/usr/bin/kelvra" --version)" != "kelvra $upstream" ]; then
        fail package "the unpacked kelvra says \"$("$root/usr/bin/kelvra" --version)\", the package $version"
    elif [ ! -f "dist/kelvra-vdf-$upstream.zip" ] || [ ! -f "dist/kelvra-$upstream.tar.gz" ]; then
        fail package "no dist/kelvra-vdf-$upstream.zip or dist/kelvra-$upstream.tar.gz beside the package"
    elif ! grep -q 'ffmpeg' <<<"$depends" || ! grep -q 'libavformat[0-9]' <<<"$depends" ||
        ! grep -q 'libswscale[0-9]' <<<"$depends"; then
        fail package "Depends lacks ffmpeg or its libraries: $depends"
    else
        pass "package $version: kelvra --version, the bundle's name, Depends: $depends"
    fi
}

# What a Debian maintainer would check first: no error and no warning.
test_lintian() {
    local report
    command -v lintian >/dev/null || { skip lintian "no lintian (Debian package lintian)"; return; }
    if report=$(lintian --fail-on error,warning "$deb" 2>&1); then
        pass "lintian: no error or warning"
    else
        fail lintian "$(grep -E '^[EW]: ' <<<"$report" | tr '\n' ';')"
    fi
}

# Every option --help lists is on the rendered manual page.
test_manual_page() {
    local page=$root/usr/share/man/man1/kelvra.1.gz text option missing=""
    command -v man >/dev/null || { skip "manual page" "no man (Debian package man-db)"; return; }
    if ! text=$(MANWIDTH=100 man -l "$page" 2>"$scratch/man.err") || [ -s "$scratch/man.err" ]; then
        fail "manual page" "man -l $page: $(head -n 3 "$scratch/man.err")"
        return
    fi
    for option in $("$root/usr/bin/kelvra" --help | grep -oE '^  --?[a-z][a-z-]*'); do
        grep -qe "$option" <<<"$text" || missing+=" $option"
    done
    if [ -n "$missing" ]; then
        fail "manual page" "it lacks$missing"
    else
        pass "manual page: man -l renders it, with every option of --help"
    fi
}

# An option name completes, and so does a .png file after --compare.
test_completion() {
    local completion=$root/usr/share/bash-completion/completions/kelvra got
    local loader=/usr/share/bash-completion/bash_completion
    [ -f "$loader" ] || { skip completion "no $loader (Debian package bash-completion)"; return; }
    mkdir -p "$scratch/files" && touch "$scratch/files/"{a.png,b.txt}
    got=$(cd "$scratch/files" && bash --norc --noprofile -c '
        source "$1" && source "$2" || exit 1
        complete_words() {
            COMP_WORDS=("$@"); COMP_CWORD=$(($# - 1)); COMP_LINE="$*"; COMP_POINT=${#COMP_LINE}
            COMPREPLY=(); _kelvra kelvra "${COMP_WORDS[-1]}" "${COMP_WORDS[-2]}"; echo "${COMPREPLY[*]}"
        }
        complete_words kelvra --scene-c
        complete_words kelvra in.mp4 out.mp4 --compare ""' bash "$loader" "$completion")
    if [ "$got" = $'--scene-cuts\na.png' ]; then
        pass "completion: --scene-c gives --scene-cuts, --compare a .png file"
    else
        fail completion "got \"$got\""
    fi
}

# The packaged frei0r plug-in, found where hosts look (a folder frei0r-1),
# corrects in ffmpeg as the packaged kelvra does, and Kdenlive's description
# of it is there.
test_frei0r() {
    local frames=$scratch/frames.bgra plugin=$root/usr/lib/frei0r-1/kelvra.so
    local description=$root/usr/share/kdenlive/effects/frei0r_kelvra.xml
    ffmpeg -v error -f lavfi -i testsrc2=size=64x48:rate=25 -frames:v 6 -vf colorlevels=romin=0.2 \
        -f rawvideo -pix_fmt bgra "$frames"
    if [ ! -f "$plugin" ] || [ ! -f "$description" ]; then
        fail frei0r "the package lacks usr/lib/frei0r-1/kelvra.so or Kdenlive's frei0r_kelvra.xml"
    elif ! FREI0R_PATH=$(dirname "$plugin") ffmpeg -v error -f rawvideo -pix_fmt bgra -video_size 64x48 \
        -i "$frames" -vf frei0r=kelvra -f rawvideo -pix_fmt bgra - |
        cmp -s - <("$root/usr/bin/kelvra" --raw 64x48 - - <"$frames"); then
        fail frei0r "ffmpeg with the packaged plug-in does not give the packaged kelvra's frames"
    else
        pass "frei0r: the packaged kelvra.so in ffmpeg gives kelvra --raw's frames; Kdenlive's description"
    fi
}

# The PE machine field of a Windows DLL, as four hex digits.
pe_machine() {
    local at
    at=$(od -An -tu4 -j60 -N4 "$1" | tr -d ' ')
    [ "$(od -An -tx1 -j"$at" -N4 "$1" 2>/dev/null | tr -d ' ')" = 50450000 ] || return 1
    od -An -tx2 -j$((at + 4)) -N2 "$1" | tr -d ' '
}

test_bundle() {
    local zip files
    zip=$(ls dist/kelvra-vdf-*.zip)
    mkdir -p "$scratch/bundle"
    (cd "$scratch/bundle" && cmake -E tar xf "$OLDPWD/$zip") || { fail bundle "cannot unpack $zip"; return; }
    files=$(cd "$scratch/bundle" && find . -type f | sort | tr '\n' ' ')
    if [ "$files" != "./COPYING.txt ./INSTALL.txt ./SHA256SUMS ./x64/kelvra.vdf ./x86/kelvra.vdf " ]; then
        fail bundle "$zip holds $files"
    elif ! tr -d '\r' <"$scratch/bundle/COPYING.txt" | cmp -s - COPYING; then
        fail bundle "its COPYING.txt is not the project's COPYING"
    elif [ "$(pe_machine "$scratch/bundle/x64/kelvra.vdf")" != 8664 ] ||
        [ "$(pe_machine "$scratch/bundle/x86/kelvra.vdf")" != 014c ]; then
        fail bundle "x64/kelvra.vdf is not an x86-64 DLL or x86/kelvra.vdf not an i386 one"
    elif ! (cd "$scratch/bundle" && sha256sum --quiet --strict -c SHA256SUMS); then
        fail bundle "the files do not match SHA256SUMS"
    else
        pass "bundle $zip: an x86-64 and an i386 DLL, the note, the licence, matching SHA-256 sums"
    fi
}

# The OBS module's own package: found where Debian's OBS looks, depending
# on libobs as dpkg-shlibdeps finds it, enhancing obs-studio, clean for
# lintian; the tool's package depends on no part of OBS.
test_obs_package() {
    local obs_deb obs_root=$scratch/obs-root report
    obs_deb=$(ls dist/kelvra-obs_*_amd64.deb 2>/dev/null)
    [ -n "$obs_deb" ] || { skip "OBS package" "no kelvra-obs package (built where libobs-dev is)"; return; }
    dpkg-deb -x "$obs_deb" "$obs_root"
    if ! ls "$obs_root"/usr/lib/*/obs-plugins/kelvra-obs.so >/dev/null 2>&1 ||
        [ ! -f "$obs_root/usr/share/obs/obs-plugins/kelvra-obs/kelvra.effect" ] ||
        [ ! -f "$obs_root/usr/share/obs/obs-plugins/kelvra-obs/locale/en-US.ini" ]; then
        fail "OBS package" "the module or its data is not in OBS's plug-in folders"
    elif ! dpkg-deb -f "$obs_deb" Depends | grep -q 'libobs0' ||
        [ "$(dpkg-deb -f "$obs_deb" Enhances)" != obs-studio ]; then
        fail "OBS package" "Depends $(dpkg-deb -f "$obs_deb" Depends), Enhances $(dpkg-deb -f "$obs_deb" Enhances)"
    elif dpkg-deb -f "$deb" Depends | grep -q 'obs'; then
        fail "OBS package" "the tool's package depends on OBS: $(dpkg-deb -f "$deb" Depends)"
    elif command -v lintian >/dev/null && ! report=$(lintian --fail-on error,warning "$obs_deb" 2>&1); then
        fail "OBS package" "lintian: $(grep -E '^[EW]: ' <<<"$report" | tr '\n' ';')"
    else
        pass "OBS package: the module in OBS's folders, Depends $(dpkg-deb -f "$obs_deb" Depends), Enhances obs-studio"
    fi
}

test_package
test_lintian
test_obs_package
test_manual_page
test_completion
test_frei0r
test_bundle
summary
[ "$failed" -eq 0 ]
