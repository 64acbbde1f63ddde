#!/usr/bin/env bash
# wine-run.sh BUILD_DIR PROGRAM [ARGS...]
# Runs a Windows program of a cross build under Wine, in that build folder's own prefix
# (made on first use), with the loader that fits the program. CMake uses it as the emulator
# of the cross builds' tests.
source "$(dirname "$0")/common.sh"
build_dir=$(realpath "$1")
shift
"$root/scripts/wine-prefix.sh" "$build_dir"
export WINEPREFIX="$build_dir/wineprefix" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
# Test programs run with unmanaged windows: with no window manager (Xvfb has none) Wine waits
# about 2 s on each shown window of a managed program as it is destroyed. Programs started
# by hand stay managed, so that a desktop's window manager moves and lists their windows.
program=$(basename "$1")
if [[ $program == *_tests.exe ]] && ! grep -qiF "AppDefaults\\\\$program\\\\X11 Driver" "$WINEPREFIX/user.reg"; then
    step "marking $program's windows unmanaged"
    wine_program reg add "HKCU\\Software\\Wine\\AppDefaults\\$program\\X11 Driver" /v Managed /d N /f >/dev/null
fi
loader=$(wine_loader_for "$1")
exec "$loader" "$@"
