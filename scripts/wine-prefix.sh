#!/usr/bin/env bash
# wine-prefix.sh BUILD_DIR
# Makes BUILD_DIR/wineprefix, a 64-bit Wine prefix that runs 32- and 64-bit programs, once;
# concurrent callers wait for the one that makes it.
set -euo pipefail
build_dir=$(realpath "$1")
prefix="$build_dir/wineprefix"
[ -f "$prefix/.ready" ] && exit 0
exec 9>"$build_dir/wineprefix.lock"
flock 9
[ -f "$prefix/.ready" ] && exit 0
rm -rf "$prefix"
export WINEPREFIX="$prefix" WINEARCH=win64 WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
wine wineboot -i >/dev/null 2>&1
wineserver -w
touch "$prefix/.ready"
