#!/usr/bin/env bash
# wine-run.sh BUILD_DIR PROGRAM [ARGS...]
# Runs a Windows program of a cross build under Wine, in that build folder's own prefix
# (made on first use). CMake uses it as the emulator of the cross builds' tests.
set -euo pipefail
build_dir=$(realpath "$1")
shift
"$(dirname "$0")/wine-prefix.sh" "$build_dir"
export WINEPREFIX="$build_dir/wineprefix" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
# Test programs run with unmanaged windows: with no window manager (Xvfb has none) Wine waits
# about 2 s on each shown window of a managed program as it is destroyed. Programs started
# by hand stay managed, so that a desktop's window manager moves and lists their windows.
program=$(basename "$1")
if [[ $program == *_tests.exe ]] && ! grep -qiF "AppDefaults\\\\$program\\\\X11 Driver" "$WINEPREFIX/user.reg"; then
    wine reg add "HKCU\\Software\\Wine\\AppDefaults\\$program\\X11 Driver" /v Managed /d N /f >/dev/null 2>&1
fi
exec wine "$@"
