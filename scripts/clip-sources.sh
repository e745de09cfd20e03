# Sourced by the clip set scripts: pictures and videos that Debian packages
# ship, fetched with apt-get download and unpacked with dpkg -x into a cache
# folder, never installed. $KELVRA_CLIP_SOURCES names the folder (default
# ~/.cache/kelvra/clip-sources).

clip_sources=${KELVRA_CLIP_SOURCES:-${XDG_CACHE_HOME:-$HOME/.cache}/kelvra/clip-sources}

# Prints the folder a package is unpacked in, fetching it on first use; fails
# with a message when the package cannot be had.
package_root() {
    local package=$1 root="$clip_sources/$1"
    if [ ! -e "$root/.unpacked" ]; then
        mkdir -p "$root"
        rm -f "$root"/*.deb
        if ! (cd "$root" && apt-get download -q "$package" >/dev/null 2>&1); then
            echo "cannot fetch the Debian package $package (apt-get download failed)" >&2
            return 1
        fi
        dpkg -x "$root"/*.deb "$root" && rm -f "$root"/*.deb && touch "$root/.unpacked" || return 1
    fi
    echo "$root"
}
