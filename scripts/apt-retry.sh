# SPDX-License-Identifier: GPL-2.0-or-later
# shellcheck shell=bash
# apt-get and dpkg runs that ride out a bad day at the mirror. Sourced.
#   as_root CMD...      runs CMD as root; while it fails on a lock that another
#                       apt or dpkg run holds, waits and runs it again
#   apt_update          apt-get update; while lists fail to download, again a
#                       few times, then on without them, with one warning
#   apt_install PKG...  apt-get install; when apt cannot resolve the set, again
#                       with the release's own versions as candidates for every
#                       architecture
#   apt_install_commands CMD:PKG...
#                       installs, in one run, the PKG of each CMD not on PATH
# Every retry prints one line saying why. apt_reason gives the last failure in
# one line. KELVRA_APT_PAUSE: seconds between tries (default 20).

apt_pause=${KELVRA_APT_PAUSE:-20}
apt_tries=3
apt_lock_wait=900 # seconds
apt_errors=""     # standard error of the last run
apt_sudo=""
[ "$(id -u)" -eq 0 ] || apt_sudo=sudo

# The lock another run holds, from the last run's errors, e.g.
#   E: Could not get lock /var/lib/dpkg/lock-frontend. It is held by process 7 (apt-get)
#   dpkg: error: dpkg frontend lock was locked by another process with pid 7
held_lock() {
    grep -m1 -E 'Could not get lock|Unable to lock|locked by another process' <<<"$apt_errors" |
        sed -E 's/^(E: |dpkg: error: )//'
}

one_line() { awk 'NR > 1 { printf "; " } { printf "%s", $0 } END { print "" }'; }

# apt's reason in one line: the lists that failed and why, or its errors.
apt_reason() {
    local lists
    lists=$(sed -nE 's/^[EW]: Failed to fetch ([^ ]+) +(.*)$/\1: \2/p' <<<"$apt_errors" |
        sed -E 's/ *\[IP: [^]]*\]//' | one_line)
    if [ -n "$lists" ]; then
        echo "$lists"
    else
        grep -E '^[EW]: |^dpkg: error' <<<"$apt_errors" | one_line
    fi
}

as_root() {
    local log status lock start=$SECONDS
    log=$(mktemp)
    while :; do
        $apt_sudo env DEBIAN_FRONTEND=noninteractive "$@" 2>"$log"
        status=$?
        apt_errors=$(<"$log")
        lock=
        [ "$status" -eq 0 ] || lock=$(held_lock)
        if [ -z "$lock" ] || [ $((SECONDS - start)) -ge "$apt_lock_wait" ]; then break; fi
        echo "$1: another run holds a lock ($lock); again in $apt_pause s" >&2
        sleep "$apt_pause"
    done
    rm -f "$log"
    return "$status"
}

apt_update() {
    local try
    for try in $(seq "$apt_tries"); do
        as_root apt-get update -qq && return 0
        [ "$try" -lt "$apt_tries" ] || break
        echo "apt-get update failed, try $try of $apt_tries ($(apt_reason)); again in $apt_pause s" >&2
        sleep "$apt_pause"
    done
    echo "warning: going on without package lists apt-get update could not download:" \
        "$(apt_reason)" >&2
}

apt_install() {
    local release install=(apt-get install -y -qq --no-install-recommends)
    as_root "${install[@]}" "$@" && return 0
    grep -qE 'held broken packages|pkgProblemResolver|nmet dependencies' <<<"$apt_errors" || return 1
    release=$(. /etc/os-release && echo "${VERSION_CODENAME:-}")
    [ -n "$release" ] || return 1
    echo "apt-get install $* failed ($(apt_reason)); again with $release's versions for every architecture" >&2
    as_root "${install[@]}" -t "$release" "$@"
}

apt_install_commands() {
    local pair needed=()
    for pair in "$@"; do
        command -v "${pair%%:*}" >/dev/null || needed+=("${pair#*:}")
    done
    [ ${#needed[@]} -gt 0 ] || return 0
    apt_update
    apt_install "${needed[@]}"
}
