#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-2.0-or-later
# The plug-in's binary as the editor's machine needs it: imports only from
# KERNEL32, USER32 and the C runtime, exactly the two entry points exported
# under their plain names, and no vector register wider than 16 bytes (the
# 32-bit host aligns its stack to 4 bytes only).
# usage: check_binary.sh OBJDUMP PLUGIN
set -euo pipefail
objdump=$1
plugin=$2
status=0

imports=$("$objdump" -p "$plugin" | sed -n 's/^\s*DLL Name: //p' | sort | tr '\n' ' ')
for dll in $imports; do
    case $dll in
        KERNEL32.dll | USER32.dll | msvcrt.dll) ;;
        *)
            echo "unexpected import: $dll"
            status=1
            ;;
    esac
done
[ -n "$imports" ] || { echo "no import table"; status=1; }

exports=$("$objdump" -p "$plugin" | sed -n '/\[Ordinal\/Name Pointer\] Table/,/^$/p' |
    sed -n 's/^\s*\[ *[0-9]*\] //p' | sort | tr '\n' ' ')
if [ "$exports" != "VirtualdubFilterModuleDeinit VirtualdubFilterModuleInit2 " ]; then
    echo "unexpected exports: $exports"
    status=1
fi

wide=$("$objdump" -d "$plugin" | grep -cE '%[yz]mm[0-9]' || true)
if [ "$wide" != 0 ]; then
    echo "$wide instructions use 32- or 64-byte registers"
    status=1
fi

[ "$status" = 0 ] && echo "imports: $imports; exports: $exports; no wide vectors"
exit "$status"
