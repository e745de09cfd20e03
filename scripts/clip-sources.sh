# SPDX-License-Identifier: GPL-2.0-or-later
# Sourced by the clip set scripts: pictures and videos that Debian packages
# ship, fetched with apt-get download and unpacked with dpkg -x into a cache
# folder, never installed. $KELVRA_CLIP_SOURCES names the folder (default
# ~/.cache/kelvra/clip-sources).

clip_sources=${KELVRA_CLIP_SOURCES:-${XDG_CACHE_HOME:-$HOME/.cache}/kelvra/clip-sources}

# Prints the folder a package is unpacked in, fetching it on first use; fails
# with a message when the package cannot be had. Unpacked beside the folder
# and renamed into place, so runs at the same time never see half of it.
package_root() {
    local package=$1 root="$clip_sources/$1" fresh
    if [ ! -d "$root" ]; then
        mkdir -p "$clip_sources"
        fresh=$(mktemp -d "$clip_sources/.$package.XXXXXX")
        if ! (cd "$fresh" && apt-get download -q "$package" >/dev/null 2>&1); then
            rm -rf "$fresh"
            echo "cannot fetch the Debian package $package (apt-get download failed)" >&2
            return 1
        fi
        if ! dpkg -x "$fresh"/*.deb "$fresh/unpacked"; then
            rm -rf "$fresh"
            echo "cannot unpack the Debian package $package" >&2
            return 1
        fi
        mv -T "$fresh/unpacked" "$root" 2>/dev/null || true
        rm -rf "$fresh"
    fi
    echo "$root"
}
