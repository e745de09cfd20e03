#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-2.0-or-later
# Both builds' test hosts print the digest of the same frame sequence run
# through their own kelvra.vdf; the pictures must be bit-identical. The 64-bit
# host runs in its own prefix, the 32-bit one in the environment's.
# usage: same_frames.sh HOST_X64 PREFIX_X64 HOST_X86
set -euo pipefail
first=$(WINEPREFIX=$2 WINELOADER=/usr/lib/wine/wine64 /usr/lib/wine/wine64 "$1" --digest | tr -d '\r')
second=$(/usr/lib/wine/wine "$3" --digest | tr -d '\r')
echo "x86-64: $first"
echo "x86:    $second"
[ -n "$first" ] && [ "$first" = "$second" ]
