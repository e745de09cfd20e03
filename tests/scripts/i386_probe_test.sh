#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-2.0-or-later
# The 32-bit probe against a stand-in loader that answers --version, as wine's
# does under a qemu that cannot start its programs: the answer must follow
# the program, not the version, and carry wine's own reason.
set -uo pipefail
scripts=$(cd "$(dirname "$0")/../../scripts" && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
unset KELVRA_I386 # the answer must come from the stand-in, not the caller
source "$scripts/i386-probe.sh"
source "$scripts/wine-env.sh"
failed=0
holds() { [ $? = 0 ] && echo "ok: $1" || { echo "FAILED: $1"; failed=$((failed + 1)); }; }

printf '#!/bin/sh\necho wine-8.0\n' >"$work/wine" && chmod +x "$work/wine"
i386_loader=$work/wine
i386_binfmt=$work/no-binfmt
cat >"$work/start.log" <<'EOF_LOG'
0024:fixme:ntdll:init_cpu_info unknown CPU
err:virtual:virtual_alloc_first_teb wine: failed to map the shared user data: c0000018
0050:err:ole:start_rpcss Failed to start RpcSs service
EOF_LOG
starts_nothing() { i386_reason=$(wine_reason "$work/start.log") && false; }
starts() { true; }

answer=$(i386_probe starts_nothing; echo "mode $i386_mode")
grep -qxF "32-bit programs: none (the 32-bit loader starts no program here (wine: failed to map the shared user data: c0000018))" <<<"$answer" &&
    grep -qx "mode none" <<<"$answer"
holds "a loader that starts no program: none, with the loader's own line"

answer=$(i386_probe starts; echo "mode $i386_mode")
grep -qx "mode native" <<<"$answer"
holds "a loader that starts the program: native"

printf 'wine: could not load kernel32.dll, status c0000135\r\n' >"$work/start.log"
[ "$(wine_reason "$work/start.log")" = "wine: could not load kernel32.dll, status c0000135" ]
holds "a reason without its carriage return"

[ $failed = 0 ] && echo passed
exit $failed
