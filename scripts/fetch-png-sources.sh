#!/usr/bin/env bash
# Unpacks Debian's source packages of zlib and libpng1.6 into .deps/src, from which the
# Windows trees build libpng (cmake/PngLibrary.cmake); does nothing when they are there.
source "$(dirname "$0")/common.sh"
source "$root/scripts/apt.sh"

dest=${STRINDLE_PNG_SOURCES:-$root/.deps/src}
if compgen -G "$dest/zlib-*/zlib.h" >/dev/null && compgen -G "$dest/libpng1.6-*/png.h" >/dev/null; then
    exit 0
fi

step "unpacking the zlib and libpng1.6 sources into $dest"
# apt-get source needs source lists for the suites the machine installs binaries from: each
# binary entry of the machine's own lists is repeated as a source entry.
if ! apt-get indextargets --format '$(CREATED_BY)' 2>/dev/null | grep -q '^Sources$'; then
    source_lists=$(
        cat /etc/apt/sources.list.d/*.sources 2>/dev/null | sed 's/^Types: deb$/Types: deb-src/' || true
        grep -hs '^deb ' /etc/apt/sources.list /etc/apt/sources.list.d/*.list | sed 's/^deb /deb-src /' || true
    )
    if grep -q '^Types: deb-src' <<<"$source_lists"; then
        grep -v '^deb-src ' <<<"$source_lists" | sudo_if_needed tee /etc/apt/sources.list.d/strindle-src.sources >/dev/null
    fi
    if grep -q '^deb-src ' <<<"$source_lists"; then
        grep '^deb-src ' <<<"$source_lists" | sudo_if_needed tee /etc/apt/sources.list.d/strindle-src.list >/dev/null
    fi
    # An index of another suite or architecture that fails to download does not stop the
    # source packages from being found, so only apt-get source below decides.
    apt_update
fi

# A mirror can list a version whose files it does not hold yet (a security update in the middle
# of its sync answers 404), so each package comes at the newest version that downloads.
fetch_source() {
    local package=$1 version log
    for version in $(apt-cache showsrc "$package" 2>/dev/null | sed -n 's/^Version: //p' | sort -urV || true); do
        log=$(apt-get source -qq "$package=$version" 2>&1) && return 0
        echo "The $package $version sources could not be downloaded." >&2
    done
    echo "${log:-apt knows no source package $package}" >&2
    echo "No version of the $package sources could be downloaded." >&2
    return 1
}

mkdir -p "$dest"
cd "$dest"
fetch_source zlib
fetch_source libpng1.6
rm -f ./*.dsc ./*.tar.* ./*.diff.gz
