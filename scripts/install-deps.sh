#!/usr/bin/env bash
# Installs every Debian package the build and the tests need (idempotent).
set -euo pipefail

packages=(
  cmake g++ ninja-build libgtest-dev libbenchmark-dev clang-format
  g++-mingw-w64-x86-64 g++-mingw-w64-i686 binutils-mingw-w64
  wine wine64 wine32:i386 qemu-user-static xvfb xauth x11-apps imagemagick
  ffmpeg clang libclang-rt-14-dev gnuplot-nox
  pkg-config libavformat-dev libavcodec-dev libswscale-dev libavutil-dev
  help2man dpkg-dev  # the manual page from --help; dpkg-shlibdeps for the package's dependencies
  man-db bash-completion  # the package test renders the manual page and completes an option
)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
if [ ${#missing[@]} -eq 0 ]; then
  exit 0
fi

SUDO=""
[ "$(id -u)" -eq 0 ] || SUDO=sudo
if ! dpkg --print-foreign-architectures | grep -qx i386; then
  $SUDO dpkg --add-architecture i386
fi
$SUDO apt-get update -qq
DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}"
