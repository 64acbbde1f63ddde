# Shared by the scripts: failing steps that say what failed, build folders, configuring and
# building, the virtual display, and Wine (which loader runs a program, the prefix's server).
# BUILD_PREFIX names the native build folder; the cross builds take its name plus -win32 / -win64.
set -eEuo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build_native=${BUILD_PREFIX:-$root/build}
build_win32=$build_native-win32
build_win64=$build_native-win64
build_fuzz=$build_native-fuzz
jobs=$(nproc)

# Every failure names the script, its current step and the command that failed. With errtrace
# (set -E) the trap also fires inside functions, and set -e then ends the script.
step_name="start"
step() {  # step NAME: announces the next step; a failure from here on names it
    step_name=$1
    echo "== $(basename "$0"): $step_name"
}
on_error() {
    echo "$(basename "$0"): step \"$step_name\" failed: \`$2\` exited with status $1" >&2
}
trap 'on_error $? "$BASH_COMMAND"' ERR

sudo_if_needed() {  # runs a command as root: directly when root, else through sudo
    if [ "$(id -u)" -eq 0 ]; then "$@"; else sudo "$@"; fi
}

configure() {  # configure DIR [CMAKE_ARGS...]
    # Configuring again is quick when nothing changed, and applies options that did change.
    cmake -S "$root" -B "$1" -G Ninja "${@:2}" >/dev/null
}
build() {  # build DIR [TARGET...]: all targets when none is named
    cmake --build "$1" -j "$jobs" ${2:+--target "${@:2}"}
}

# The sanitizer tree runs tests (its reports need the debugging information); the benchmarks
# are built and run in their own Release tree.
configure_native() {
    configure "$build_native" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DSTRINDLE_SANITIZE=ON -DSTRINDLE_BENCH=OFF
}
configure_win32() { configure "$build_win32" -DCMAKE_BUILD_TYPE=Release -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-i686.cmake" "$@"; }
configure_win64() { configure "$build_win64" -DCMAKE_BUILD_TYPE=Release -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-x86_64.cmake" "$@"; }

# Wine's two loaders: Debian's `wine` command always picks the 32-bit one when wine32 is
# installed, which fails with "Exec format error" on kernels without 32-bit support. So the
# scripts call a loader themselves, through wine_program, and never the `wine` command.
wine32_loader=/usr/lib/wine/wine
wine64_loader=/usr/lib/wine/wine64

# Whether this machine starts 32-bit programs, found once by starting the 32-bit loader; the
# answer is exported, so that the scripts and tests started from here do not ask again.
# When it does not, STRINDLE_NO_32BIT_WHY says why.
machine_runs_32bit() {
    if [ -z "${STRINDLE_RUNS_32BIT:-}" ]; then
        local said
        if said=$("$wine32_loader" --version 2>&1); then
            STRINDLE_RUNS_32BIT=yes
        else
            STRINDLE_RUNS_32BIT=no
            STRINDLE_NO_32BIT_WHY="$wine32_loader does not start: ${said#*"$wine32_loader": }"
            export STRINDLE_NO_32BIT_WHY
        fi
        export STRINDLE_RUNS_32BIT
    fi
    [ "$STRINDLE_RUNS_32BIT" = yes ]
}

is_32bit_program() {  # is_32bit_program FILE: true for a 32-bit x86 Windows program or DLL
    [ -f "$1" ] || return 1
    local pe_offset machine
    pe_offset=$(od -An -tu4 -j60 -N4 "$1" | tr -d ' ')
    machine=$(od -An -tx2 -j$((pe_offset + 4)) -N2 "$1" | tr -d ' ')
    [ "$machine" = 014c ]
}

wine_loader_for() {  # wine_loader_for PROGRAM: prints the Wine loader that runs PROGRAM
    if ! is_32bit_program "$1"; then
        echo "$wine64_loader"  # 64-bit programs, and Wine's own tools (wineboot, reg)
    elif machine_runs_32bit; then
        echo "$wine32_loader"
    else
        echo "$1 is a 32-bit program, and this machine starts none ($STRINDLE_NO_32BIT_WHY)." >&2
        return 126
    fi
}

wine_program() {  # wine_program PROGRAM [ARGS...], with WINEPREFIX set: runs it under Wine
    local loader
    loader=$(wine_loader_for "$1")
    "$loader" "$@"
}

# Starts a virtual X display for the Windows programs and sets DISPLAY; stop_display ends it.
start_display() {
    local n=90
    while [ -e "/tmp/.X$n-lock" ] || [ -e "/tmp/.X11-unix/X$n" ]; do n=$((n + 1)); done
    Xvfb ":$n" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
    xvfb_pid=$!
    export DISPLAY=":$n"
    local deadline=$((SECONDS + 30))
    until xdpyinfo >/dev/null 2>&1; do
        if [ $SECONDS -ge $deadline ] || ! kill -0 "$xvfb_pid" 2>/dev/null; then
            echo "Xvfb did not start on $DISPLAY" >&2
            return 1
        fi
        sleep 0.1
    done
}

stop_display() {
    if [ -n "${xvfb_pid:-}" ]; then
        kill "$xvfb_pid" 2>/dev/null || true
        wait "$xvfb_pid" 2>/dev/null || true
    fi
    xvfb_pid=
}

stop_wine() {  # stop_wine BUILD_DIR...: ends the Wine server of each build folder's prefix
    for dir in "$@"; do
        if [ -d "$dir/wineprefix" ]; then
            WINEPREFIX="$dir/wineprefix" wineserver -k 2>/dev/null || true
        fi
    done
}
