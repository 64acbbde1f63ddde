#!/usr/bin/env bash
# Installs what is missing, builds Strindle, and opens the bundled sample table in it (under
# Wine on Linux): the 32-bit Strindle where this machine starts 32-bit programs, else the
# 64-bit one. Without an X display the window goes to a virtual one.
source "$(dirname "$0")/scripts/common.sh"

step "installing what is missing"
"$root/scripts/install-deps.sh"
step "building the native tree $build_native (it makes the sample table)"
configure_native
build "$build_native" sample_table
if wine_runs_32bit; then
    build_windows=$build_win32
    step "building the 32-bit Windows tree $build_windows"
    configure_win32
    build "$build_windows" strindle
    echo "Strindle: the 32-bit program."
else
    build_windows=$build_win64
    step "building the 64-bit Windows tree $build_windows"
    configure_win64
    build "$build_windows" strindle
    echo "Strindle: the 64-bit program, because Wine runs no 32-bit programs here ($STRINDLE_NO_32BIT_WHY)."
fi

sample="$build_native/samples/sample.tbl"
"$build_native/bin/tbltool" info "$sample"

trap 'stop_wine "$build_windows"; stop_display' EXIT
if [ -z "${DISPLAY:-}" ]; then
    step "starting a virtual display"
    start_display
    echo "No X display: Strindle runs on the virtual display $DISPLAY (\`import -display $DISPLAY -window root shot.png\` takes a picture of it)."
fi
step "running Strindle on $sample"
"$root/scripts/wine-run.sh" "$build_windows" "$build_windows/bin/strindle.exe" "Z:$sample"
