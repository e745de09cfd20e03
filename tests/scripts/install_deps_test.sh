#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-2.0-or-later
# scripts/install-deps.sh on a bad day, against stand-ins for apt-get, dpkg,
# dpkg-query and sudo first on PATH. Every update loses the i386 list of the
# security suite; the first install may meet a lock another run holds; the
# packages in STUB_BROKEN cannot be resolved, with the release's own versions
# as candidates too unless STUB_PINNED_RESOLVES=1.
set -uo pipefail
scripts=$(cd "$(dirname "$0")/../../scripts" && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
release=$(. /etc/os-release && echo "$VERSION_CODENAME")
list=http://deb.debian.org/debian-security/dists/bookworm-security/main/binary-i386/Packages.xz

mkdir -p "$work/bin" "$work/tree/scripts"
cp "$scripts/install-deps.sh" "$scripts/apt-retry.sh" "$work/tree/scripts/"
cat >"$work/bin/apt-get" <<EOF
#!/usr/bin/env bash
echo "apt-get \$*" >>"\$STUB/calls"
if [ "\$1" = update ]; then
    echo "E: Failed to fetch $list  File has unexpected size (374820 != 376004). Mirror sync in progress? [IP: 192.0.2.1 80]" >&2
    echo "E: Some index files failed to download. They have been ignored, or old ones used instead." >&2
    exit 100
fi
if [ -n "\${STUB_LOCKED:-}" ] && [ ! -e "\$STUB/lock-met" ]; then
    touch "\$STUB/lock-met"
    echo "E: Could not get lock /var/lib/dpkg/lock-frontend. It is held by process 4242 (apt-get)" >&2
    exit 100
fi
pinned=0 packages=()
shift
while [ \$# -gt 0 ]; do
    case \$1 in
        -t) pinned=1 && shift ;;
        -*) ;;
        *) packages+=("\$1") ;;
    esac
    shift
done
for p in "\${packages[@]}"; do
    case " \${STUB_BROKEN:-} " in *" \$p "*)
        [ "\$pinned\${STUB_PINNED_RESOLVES:-}" = 11 ] && continue
        echo "E: Unable to correct problems, you have held broken packages." >&2
        exit 100 ;;
    esac
done
printf '%s\n' "\${packages[@]}" >>"\$STUB/installed"
EOF
cat >"$work/bin/dpkg-query" <<'EOF'
#!/usr/bin/env bash
grep -qxF -- "$3" "$STUB/installed" && printf 'install ok installed'
EOF
cat >"$work/bin/dpkg" <<'EOF'
#!/usr/bin/env bash
case $1 in
    --print-foreign-architectures) cat "$STUB/arches" ;;
    --add-architecture) echo "dpkg $*" >>"$STUB/calls" && echo "$2" >>"$STUB/arches" ;;
esac
EOF
printf '#!/bin/sh\nexec "$@"\n' >"$work/bin/sudo"
chmod +x "$work/bin/"*

failed=0
holds() { # what the condition before it checked
    local status=$?
    [ $status = 0 ] && return
    echo "FAILED: $1"
    failed=1
}
# Runs the install step: foreign architectures, mode, the stand-ins' settings.
run() {
    export STUB=$work/state
    rm -rf "$STUB" "$work/tree/build"
    mkdir -p "$STUB" && touch "$STUB/installed" "$STUB/calls"
    printf '%s' "$1" >"$STUB/arches"
    (cd "$work/tree" && env PATH="$work/bin:$PATH" KELVRA_APT_PAUSE=0 "${@:3}" scripts/install-deps.sh "$2") \
        >"$work/out" 2>&1
    status=$?
    echo "== install-deps.sh $2 ${*:3}" && cat "$work/out"
}
calls=$work/state/calls out=$work/out installed=$work/state/installed
installs() { grep '^apt-get install' "$calls"; }

run "" test STUB_LOCKED=1 STUB_BROKEN=wine32:i386 STUB_PINNED_RESOLVES=1
[ $status = 0 ] && grep -qx wine32:i386 "$installed" && [ -z "$(ls "$work/tree/build/not-installed")" ]
holds "everything installed, nothing recorded as missing"
[ "$(grep -c "^dpkg --add-architecture i386$" "$calls")" = 1 ]
holds "i386 added once"
[ "$(grep -c "^apt-get update" "$calls")" = 3 ] &&
    [ "$(grep -c "^warning: .*$list: File has unexpected size" "$out")" = 1 ]
holds "three updates, then on with one warning naming the list"
[ "$(grep -c "another run holds a lock (Could not get lock /var/lib/dpkg/lock-frontend. .*); again" "$out")" = 1 ] &&
    [ "$(installs | sed -n 1p)" = "$(installs | sed -n 2p)" ]
holds "the locked install waited for and run again as it was"
[ "$(grep -e "-t $release" "$calls")" = "$(grep wine32:i386 "$calls" | tail -n 1)" ] &&
    grep -q "again with $release's versions" "$out"
holds "the 32-bit set again with $release's versions, and only it"
[ "$(wc -l <"$out")" = 5 ]
holds "one line for each retry and the warning, nothing else"
installs | head -n 1 | grep -q 'wine32:i386$'
holds "the 32-bit set first, before 64-bit copies of its libraries come in"
: >"$calls"
(cd "$work/tree" && env PATH="$work/bin:$PATH" scripts/install-deps.sh test) >"$out" 2>&1
[ $? = 0 ] && [ ! -s "$calls" ] && [ ! -s "$out" ]
holds "with everything installed, no apt run and not a word"

run i386 test STUB_BROKEN=wine32:i386
[ $status = 0 ] && grep -qx wine64 "$installed" && ! grep -qx wine32:i386 "$installed" &&
    [ "$(grep -c wine32:i386 "$calls")" = 2 ] && ! grep -q ^dpkg "$calls"
holds "the rest installed, the 32-bit set tried twice"
why="wine32:i386 could not be installed: E: Unable to correct problems, you have held broken packages."
[ "$(cat "$work/tree/build/not-installed/wine32" 2>/dev/null)" = "$why" ] && [ "$(grep -cxF "$why" "$out")" = 1 ]
holds "apt's reason in one line, kept for the suite that skips"

run "" build STUB_BROKEN=libgtest-dev
[ $status != 0 ] && [ "$(grep -c "^error: the build needs .*libgtest-dev.*held broken packages" "$out")" = 1 ]
holds "a build package apt cannot install: an error naming it"
! grep -q "^dpkg \|wine\|clang" "$calls"
holds "the build adds no architecture and installs no test package"

[ $failed = 0 ] && echo passed
exit $failed
