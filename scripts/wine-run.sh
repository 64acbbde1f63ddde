#!/usr/bin/env bash
# wine-run.sh BUILD_DIR PROGRAM [ARGS...]
# Runs a Windows program of a cross build under Wine, in that build folder's own prefix
# (made on first use). CMake uses it as the emulator of the cross builds' tests.
set -euo pipefail
build_dir=$(realpath "$1")
shift
"$(dirname "$0")/wine-prefix.sh" "$build_dir"
export WINEPREFIX="$build_dir/wineprefix" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
exec wine "$@"
