# SPDX-License-Identifier: GPL-2.0-or-later
# Wine for one build, sourced: `use_wine x64|x86` exports the build's own
# prefix (build/wine-x64, build/wine-x86) and sets $wine to its loader. The
# 64-bit build goes through the 64-bit loader alone (also for the processes
# wine starts itself, through WINELOADER), so it never needs 32-bit support.
# `make_prefix` makes the current prefix on first use; where it cannot, it
# keeps wineboot's errors in $WINEPREFIX.log. `wine_reason LOG` says why in
# one line.

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
            # qemu 7.2, in the 4 GiB it reserves by default, places a mapping
            # that cannot have the address it asks for from just above 2 GiB
            # downwards, and takes MAP_FIXED_NOREPLACE for a hint: wine's
            # reservations there then succeed elsewhere, and Windows' shared
            # user data at 0x7ffe0000 finds its place taken. Given a reserved
            # size, qemu places such mappings from the top down instead.
            if [ "${i386_mode:-}" = emulated ]; then
                export QEMU_RESERVED_VA=0xf7000000
            fi
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
    WINEDEBUG=err+all /usr/lib/wine/wine64 wineboot -i >"$WINEPREFIX.log" 2>&1
    wineserver -w
    [ -e "$prefix_ready" ] || {
        echo "wineboot could not make $WINEPREFIX: $(wine_reason "$WINEPREFIX.log")" >&2
        return 1
    }
    rm -f "$WINEPREFIX.log"
}

# The loader's own error (printed before any thread, so with no thread number
# in front) where there is one, else the log's last line.
wine_reason() {
    local line
    line=$(tr -d '\r' <"$1" | grep -m1 -E '^(err:|wine: )') || line=$(tr -d '\r' <"$1" | tail -n1)
    sed -E 's/^err:[^ ]* //' <<<"${line:-no output}"
}
