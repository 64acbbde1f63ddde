#!/usr/bin/env bash
# Installs the Debian packages the project builds and tests with; does nothing when all are there.
source "$(dirname "$0")/common.sh"

packages=(
    cmake ninja-build g++ clang googletest libbenchmark-dev
    g++-mingw-w64-i686-posix g++-mingw-w64-x86-64-posix mingw-w64-tools
    wine wine32:i386 wine64 libwine-dev xvfb xauth x11-utils xdotool python3 imagemagick fp-utils zip
    libpng-dev dpkg-dev libcli11-dev nlohmann-json3-dev
)


missing=()
for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -eq 0 ]; then
    "$root/scripts/fetch-png-sources.sh"
    exit 0
fi

step "installing ${missing[*]}"
if ! dpkg --print-foreign-architectures | grep -qx i386; then
    sudo_if_needed dpkg --add-architecture i386
fi
sudo_if_needed apt-get update -qq
sudo_if_needed env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
"$root/scripts/fetch-png-sources.sh"
