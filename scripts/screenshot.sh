#!/usr/bin/env bash
# screenshot.sh PROGRAM [ARGS...]
# Starts a Windows program of a cross build under Wine on a virtual display and writes a PNG
# of the screen once the program's window is up (SCREENSHOT=file, default screenshot.png).
# The build folder, and so the Wine prefix, is the one whose bin/ holds PROGRAM.
source "$(dirname "$0")/common.sh"
program=$1
shift
build_dir=$(cd "$(dirname "$program")/.." && pwd)
out=${SCREENSHOT:-screenshot.png}
settle=${SCREENSHOT_SETTLE:-2}

start_display
trap 'stop_wine "$build_dir"; stop_display' EXIT
"$root/scripts/wine-run.sh" "$build_dir" "$program" "$@" &
program_pid=$!

# Wait (up to 60 s) for a top-level window of the program to be mapped.
deadline=$((SECONDS + 60))
until xwininfo -root -children 2>/dev/null | grep -q '"[^"]\+": ("'"$(basename "$program" .exe)"; do
    if [ $SECONDS -ge $deadline ] || ! kill -0 "$program_pid" 2>/dev/null; then
        echo "no window of $program appeared" >&2
        exit 1
    fi
    sleep 0.2
done
sleep "$settle"  # let it paint
import -window root "$out"
echo "wrote $out"
kill "$program_pid" 2>/dev/null || true
