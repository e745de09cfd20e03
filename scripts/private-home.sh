# SPDX-License-Identifier: GPL-2.0-or-later
# shellcheck shell=bash
# A home of its own for a desktop program a screenshot script runs, so that
# no settings, caches or plug-ins of a user's are read or written. Sourced.
#   private_home   sets work to a new folder, removed on exit, and HOME and
#                  the XDG folders to folders inside it
private_home() {
    work=$(mktemp -d)
    trap 'rm -rf "$work"' EXIT
    export HOME=$work/home XDG_CONFIG_HOME=$work/home/config XDG_CACHE_HOME=$work/home/cache
    export XDG_DATA_HOME=$work/home/data XDG_RUNTIME_DIR=$work/run
    mkdir -p "$XDG_CONFIG_HOME" "$XDG_CACHE_HOME" "$XDG_DATA_HOME" "$XDG_RUNTIME_DIR"
    chmod 700 "$XDG_RUNTIME_DIR"
}
