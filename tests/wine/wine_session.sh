#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-2.0-or-later
# Starts or ends the prefix's wine session around a ctest run: a wineserver
# that stays up, and the services wineboot starts, all detached from any
# test's output. A session started by a test's own wine process inherits that
# test's output pipe, and ctest waits for the pipe to close: that test then
# lasted as long as the other tests kept the session alive and, on a loaded
# machine, ran into its timeout whatever its own result.
# usage: wine_session.sh start|stop      (WINEPREFIX from the environment)
set -uo pipefail
case ${1:-} in
    start)
        # Status 2: a server for this prefix runs already.
        /usr/lib/wine/wineserver64 -p </dev/null >/dev/null 2>&1
        /usr/lib/wine/wine64 wineboot </dev/null >/dev/null 2>&1
        ;;
    stop) /usr/lib/wine/wineserver64 -k </dev/null >/dev/null 2>&1 || true ;;
    *)
        echo "usage: $0 start|stop" >&2
        exit 2
        ;;
esac
