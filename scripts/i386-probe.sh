# SPDX-License-Identifier: GPL-2.0-or-later
# Whether this machine runs 32-bit x86 programs, asked once per run. Sourced;
# i386_probe [CHECK...] prints one line, keeps it in i386_answer and sets
# i386_mode:
#   native    the kernel runs them itself;
#   emulated  qemu-i386 runs them, through binfmt_misc;
#   none      neither; i386_reason says why.
# A loader that prints its version may still start no program, so a caller
# that needs one passes CHECK: a command that starts a 32-bit program in its
# prefix and, where it cannot, sets i386_reason to wine's own reason; then the
# answer is none.
# KELVRA_I386=native|emulated|none overrides the answer. Where the kernel runs
# no 32-bit program, or KELVRA_I386=emulated asks, and we are root, the probe
# registers qemu-i386-static in binfmt_misc (mounting it if needed). That entry
# is kernel-wide: while it stands, every i386 program on the machine runs
# through qemu. i386_release, in the caller's EXIT trap, removes what the probe
# registered or mounted and nothing else.

i386_loader=/usr/lib/wine/wine
i386_qemu=/usr/bin/qemu-i386-static
i386_binfmt=/proc/sys/fs/binfmt_misc
i386_entry=kelvra-qemu-i386
i386_registered=0
i386_mounted=0
i386_mode=
i386_reason=
i386_answer=

# An enabled binfmt_misc entry that takes i386 ELF programs, ours or another's.
i386_binfmt_entry() {
    local entry
    grep -qx enabled "$i386_binfmt/status" 2>/dev/null || return 1
    for entry in "$i386_binfmt"/*; do
        case ${entry##*/} in status | register) continue ;; esac
        # e_ident of a 32-bit little-endian ELF file, then e_machine 3 (i386).
        if grep -qx enabled "$entry" && grep -q '^magic 7f454c4601.\{26\}0300' "$entry"; then
            echo "${entry##*/}"
            return 0
        fi
    done
    return 1
}

# Wine's 32-bit loader answers --version before it needs a prefix or a server.
i386_runs() { "$i386_loader" --version >/dev/null 2>&1; }

# Registers qemu-i386-static for i386 ELF programs; sets i386_reason when it
# cannot. Flag F opens the interpreter now, so it works in any mount namespace.
i386_register() {
    if [ "$(id -u)" -ne 0 ]; then
        i386_reason="registering qemu-i386 in binfmt_misc needs root"
    elif [ ! -x "$i386_qemu" ]; then
        i386_reason="$i386_qemu is missing (package qemu-user-static)"
    elif [ ! -e "$i386_binfmt/register" ] && ! i386_mount; then
        i386_reason="binfmt_misc is not available"
    else
        local magic='\x7fELF\x01\x01\x01\x00\x00\x00\x00\x00\x00\x00\x00\x00\x02\x00\x03\x00'
        local mask='\xff\xff\xff\xff\xff\xfe\xfe\x00\xff\xff\xff\xff\xff\xff\xff\xff\xfe\xff\xff\xff'
        if printf '%s' ":$i386_entry:M::$magic:$mask:$i386_qemu:F" >"$i386_binfmt/register" 2>/dev/null; then
            i386_registered=1
            return 0
        fi
        i386_reason="binfmt_misc refused the qemu-i386 entry"
    fi
    return 1
}

i386_mount() { mount -t binfmt_misc binfmt_misc "$i386_binfmt" 2>/dev/null && i386_mounted=1; }

i386_release() {
    if [ "$i386_registered" = 1 ]; then
        echo -1 >"$i386_binfmt/$i386_entry" && i386_registered=0
    fi
    if [ "$i386_mounted" = 1 ] && [ "$(ls "$i386_binfmt" | grep -cvx 'status\|register')" = 0 ]; then
        umount "$i386_binfmt" && i386_mounted=0
    fi
}

i386_probe() {
    local entry note=""
    case ${KELVRA_I386:-} in
        "")
            if entry=$(i386_binfmt_entry) && i386_runs; then
                i386_mode=emulated
                note="; binfmt_misc entry '$entry' was there before this run"
            elif i386_runs; then
                i386_mode=native
            elif [ ! -x "$i386_loader" ]; then
                i386_mode=none
                i386_reason="$i386_loader is missing (package wine32:i386)"
            elif i386_register && i386_runs; then
                i386_mode=emulated
            else
                i386_release
                i386_mode=none
                i386_reason="the kernel runs no 32-bit programs, and ${i386_reason:-qemu-i386 did not start $i386_loader}"
            fi
            ;;
        native) i386_mode=native ;;
        emulated)
            if entry=$(i386_binfmt_entry); then
                i386_mode=emulated
                note="; binfmt_misc entry '$entry' was there before this run"
            elif i386_register; then
                i386_mode=emulated
            else
                i386_mode=none
            fi
            ;;
        none)
            i386_mode=none
            i386_reason="asked for"
            ;;
        *)
            echo "KELVRA_I386 must be native, emulated or none, not '$KELVRA_I386'" >&2
            return 2
            ;;
    esac
    [ "$i386_registered" = 1 ] &&
        note="; registered kernel-wide (every i386 program on this machine) until this run ends"
    if [ "$i386_mode" != none ] && [ $# -gt 0 ] && ! "$@"; then
        i386_mode=none
        i386_reason="the 32-bit loader starts no program here ($i386_reason)"
    fi
    [ -n "${KELVRA_I386:-}" ] && note="$note [KELVRA_I386=$KELVRA_I386]"
    case $i386_mode in
        native) i386_answer="native$note" ;;
        emulated) i386_answer="emulated (qemu-i386 through binfmt_misc)$note" ;;
        none) i386_answer="none ($i386_reason)$note" ;;
    esac
    echo "32-bit programs: $i386_answer"
}
