#!/usr/bin/env bash
# Installs the Debian packages the project builds and tests with; does nothing when all are there.
# wine32, which runs the 32-bit tests, is asked for only where the kernel starts 32-bit programs,
# and a wine32 that cannot be installed stops nothing: the 32-bit programs are built all the same.
source "$(dirname "$0")/common.sh"
source "$root/scripts/apt.sh"

packages=(
    cmake ninja-build g++ clang googletest libbenchmark-dev
    g++-mingw-w64-i686-posix g++-mingw-w64-x86-64-posix mingw-w64-tools
    wine wine64 libwine-dev xvfb xauth x11-utils xdotool python3 imagemagick fp-utils zip
    libpng-dev dpkg-dev libcli11-dev
)
wine32=wine32:i386

missing=()
for p in "${packages[@]}"; do
    installed "$p" || missing+=("$p")
done
wanted=("${missing[@]}")
if ! installed $wine32; then
    if kernel_starts_32bit; then
        wanted+=($wine32)
    else
        echo "Not installing $wine32: $STRINDLE_NO_32BIT_WHY."
    fi
fi

if [ ${#wanted[@]} -gt 0 ]; then
    step "installing ${wanted[*]}"
    if [[ " ${wanted[*]} " == *" $wine32 "* ]]; then
        dpkg --print-foreign-architectures | grep -qx i386 || sudo_if_needed dpkg --add-architecture i386
        apt_update
        refusal=$(apt_refusal $wine32)
        if [ -n "$refusal" ]; then
            echo "$wine32 cannot be installed ($refusal): the 32-bit programs are built, their tests are not run."
            wanted=("${missing[@]}")
        fi
    else
        apt_update
    fi
    if [ ${#wanted[@]} -gt 0 ]; then
        apt_install "${wanted[@]}"
    fi
fi
"$root/scripts/fetch-png-sources.sh"
