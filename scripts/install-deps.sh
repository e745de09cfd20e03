#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-2.0-or-later
# Installs the Debian packages a command needs (idempotent):
#   install-deps.sh build   building and the demo (scripts/build.sh)
#   install-deps.sh test    that, and the tests (scripts/test.sh)
# Each group goes to apt on its own, so one that cannot be installed leaves
# the others. A build package that cannot be installed is an error. A test
# group is reported in one line, which build/not-installed/GROUP keeps for
# the suites that then skip, until the group is installed.
set -uo pipefail
cd "$(dirname "$0")/.." || exit 1
source scripts/apt-retry.sh

# What each package is for: docs/testing.md, "What a machine needs".
declare -A packages=(
    [build]="cmake g++ ninja-build pkg-config libgtest-dev libbenchmark-dev
        g++-mingw-w64-x86-64 g++-mingw-w64-i686 binutils-mingw-w64
        ffmpeg libavformat-dev libavcodec-dev libswscale-dev libavutil-dev gnuplot-nox
        help2man dpkg-dev file frei0r-plugins-dev"
    [fuzz]="clang libclang-rt-14-dev"
    [tools]="qemu-user-static clang-format xauth x11-apps imagemagick man-db bash-completion lintian
        python3-numpy"
    [hosts]="melt gstreamer1.0-tools gstreamer1.0-plugins-base gstreamer1.0-plugins-bad"
    [wine]="wine wine64 xvfb"
    [obs]="libobs-dev obs-plugins obs-studio libx11-dev xvfb xauth"
    [wine32]="wine32:i386"
)

case ${1:-} in
    build) groups="build" ;;
    # The 32-bit set first: its libraries must be at the 64-bit copies'
    # versions, and on a day its lists are missing only the release's
    # versions exist for both; the 64-bit ones installed later then follow it.
    test) groups="wine32 wine fuzz tools hosts obs build" ;;
    *)
        echo "usage: $0 build|test" >&2
        exit 2
        ;;
esac

record=build/not-installed
mkdir -p "$record"
declare -A missing=()
for group in $groups; do
    for package in ${packages[$group]}; do
        dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed' ||
            missing[$group]+="$package "
    done
    [ -n "${missing[$group]:-}" ] || rm -f "$record/$group"
done
[ ${#missing[@]} -gt 0 ] || exit 0

# One line in the group's record, and on standard error.
not_installed() { echo "${missing[$1]% } could not be installed: $2" | tee "$record/$1" >&2; }

if [ -n "${missing[wine32]:-}" ] && ! dpkg --print-foreign-architectures | grep -qx i386 &&
    ! as_root dpkg --add-architecture i386; then
    not_installed wine32 "dpkg --add-architecture i386: $(apt_reason)"
    unset 'missing[wine32]'
fi
apt_update
for group in $groups; do
    [ -n "${missing[$group]:-}" ] || continue
    # shellcheck disable=SC2086 # one word a package
    if apt_install ${missing[$group]}; then
        rm -f "$record/$group"
    elif [ "$group" = build ]; then
        echo "error: the build needs ${missing[build]% }, and apt could not install them: $(apt_reason)" >&2
        exit 1
    else
        not_installed "$group" "$(apt_reason)"
    fi
done
exit 0
