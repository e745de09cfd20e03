# SPDX-License-Identifier: GPL-2.0-or-later
# Wine for one build, sourced: `use_wine x64|x86` exports the build's own
# prefix (build/wine-x64, build/wine-x86) and sets $wine to its loader. The
# 64-bit build goes through the 64-bit loader alone (also for the processes
# wine starts itself, through WINELOADER), so it never needs 32-bit support.
# `make_prefix` makes the current prefix on first use.

use_wine() {
    export WINEDEBUG=-all
    export WINEDLLOVERRIDES=mscoree,mshtml= # never stop to offer Mono or Gecko
    export WINEPREFIX=$PWD/build/wine-$1
    case $1 in
        x64)
            wine=/usr/lib/wine/wine64
            export WINELOADER=$wine
            prefix_ready=$WINEPREFIX/system.reg
            ;;
        x86)
            wine=/usr/lib/wine/wine
            unset WINELOADER
            # Where the 32-bit loader could not run, wineboot leaves syswow64 empty.
            prefix_ready=$WINEPREFIX/drive_c/windows/syswow64/rundll32.exe
            ;;
    esac
}

make_prefix() {
    [ -e "$prefix_ready" ] && return 0
    rm -rf "$WINEPREFIX"
    # wineboot is a 64-bit program for either build; it sets up syswow64 through
    # the 32-bit loader, natively or under qemu, where that runs at all.
    /usr/lib/wine/wine64 wineboot -i >/dev/null 2>&1
    wineserver -w
    [ -e "$prefix_ready" ] || { echo "wineboot could not make $WINEPREFIX" >&2; return 1; }
}
