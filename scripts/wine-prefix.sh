#!/usr/bin/env bash
# wine-prefix.sh BUILD_DIR
# Makes BUILD_DIR/wineprefix, a 64-bit Wine prefix (which also runs 32-bit programs where the
# machine starts them), once; concurrent callers wait for the one that makes it.
source "$(dirname "$0")/common.sh"
build_dir=$(realpath "$1")
prefix="$build_dir/wineprefix"
[ -f "$prefix/.ready" ] && exit 0
exec 9>"$build_dir/wineprefix.lock"
flock 9
[ -f "$prefix/.ready" ] && exit 0
step "making the Wine prefix $prefix"
rm -rf "$prefix"
export WINEPREFIX="$prefix" WINEARCH=win64 WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
if ! log=$(wine_program wineboot -i 2>&1); then
    echo "$log" >&2
    false
fi
wineserver -w
touch "$prefix/.ready"
