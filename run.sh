#!/usr/bin/env bash
# Installs what is missing, builds Strindle, and opens the bundled sample table in it (under
# Wine on Linux). Without an X display the window goes to a virtual one.
set -euo pipefail
source "$(dirname "$0")/scripts/common.sh"

"$root/scripts/install-deps.sh"
build_native_tree   # makes samples/sample.tbl
build_win32_tree

sample="$build_native/samples/sample.tbl"
"$build_native/bin/tbltool" info "$sample"

trap 'stop_wine "$build_win32"; stop_display' EXIT
if [ -z "${DISPLAY:-}" ]; then
    start_display
    echo "No X display: Strindle runs on the virtual display $DISPLAY (scripts/screenshot.sh shows it)."
fi
"$root/scripts/wine-run.sh" "$build_win32" "$build_win32/bin/strindle.exe" "Z:$sample"
