#!/usr/bin/env bash
# Unpacks Debian's source packages of zlib and libpng1.6 into .deps/src, from which the
# Windows trees build libpng (cmake/PngLibrary.cmake); does nothing when they are there.
source "$(dirname "$0")/common.sh"

dest=${STRINDLE_PNG_SOURCES:-$root/.deps/src}
if compgen -G "$dest/zlib-*/zlib.h" >/dev/null && compgen -G "$dest/libpng1.6-*/png.h" >/dev/null; then
    exit 0
fi

step "unpacking the zlib and libpng1.6 sources into $dest"
sudo_if_needed() {
    if [ "$(id -u)" -eq 0 ]; then "$@"; else sudo "$@"; fi
}
# apt-get source needs the source lists of the same suites as the binary ones.
if ! apt-get indextargets --format '$(CREATED_BY)' 2>/dev/null | grep -q '^Sources$'; then
    sudo_if_needed tee /etc/apt/sources.list.d/debian-src.sources >/dev/null <<'LIST'
Types: deb-src
URIs: http://deb.debian.org/debian
Suites: bookworm bookworm-updates
Components: main
Signed-By: /usr/share/keyrings/debian-archive-keyring.gpg
LIST
    sudo_if_needed apt-get update -qq
fi
mkdir -p "$dest"
cd "$dest"
apt-get source -qq zlib libpng1.6 >/dev/null 2>&1
rm -f ./*.dsc ./*.tar.* ./*.diff.gz
