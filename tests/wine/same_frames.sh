#!/usr/bin/env bash
# Both builds' test hosts print the digest of the same frame sequence run
# through their own kelvra.vdf; the pictures must be bit-identical.
# usage: same_frames.sh HOST_X64 HOST_X86
set -euo pipefail
first=$(wine "$1" --digest | tr -d '\r')
second=$(wine "$2" --digest | tr -d '\r')
echo "x86-64: $first"
echo "x86:    $second"
[ -n "$first" ] && [ "$first" = "$second" ]
