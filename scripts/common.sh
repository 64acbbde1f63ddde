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
step_started=$SECONDS
step_times=()
step() {  # step NAME: announces the next step; a failure from here on names it
    end_step
    step_name=$1
    echo "== $(basename "$0"): $step_name"
}
end_step() {  # notes how long the current step took
    [ "$step_name" = start ] || step_times+=("$(printf '%5d s  %s' $((SECONDS - step_started)) "$step_name")")
    step_started=$SECONDS
}
print_step_times() {  # a closing table of the steps' times, so that logs show where time goes
    end_step
    echo "== $(basename "$0"): time of each step"
    printf '%s\n' "${step_times[@]}"
    printf '%5d s  in all\n' $SECONDS
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

# Whether the kernel starts 32-bit programs: some run none ("32-bit emulation disabled"). The
# probe is the smallest 32-bit Linux program, which only exits with status 0; the script writes
# it, so nothing needs to be installed to ask. STRINDLE_32BIT_PROBE names another program to ask.
kernel_starts_32bit() {
    local probe=${STRINDLE_32BIT_PROBE:-} said
    if [ -z "$probe" ]; then
        probe=$root/.deps/probe-32bit
        if [ ! -x "$probe" ]; then
            mkdir -p "$root/.deps"
            # ELF header, one loadable segment, then: mov eax,1; xor ebx,ebx; int 0x80 (exit 0).
            printf '\x7fELF\x01\x01\x01\0\0\0\0\0\0\0\0\0\x02\0\x03\0\x01\0\0\0\x54\x80\x04\x08\x34\0\0\0'\
'\0\0\0\0\0\0\0\0\x34\0\x20\0\x01\0\0\0\0\0\0\0\x01\0\0\0\0\0\0\0\0\x80\x04\x08\0\x80\x04\x08'\
'\x5d\0\0\0\x5d\0\0\0\x05\0\0\0\0\x10\0\0\xb8\x01\0\0\0\x31\xdb\xcd\x80' >"$probe.new"
            chmod +x "$probe.new"
            mv "$probe.new" "$probe"
        fi
    fi
    if said=$("$probe" 2>&1); then
        return 0
    fi
    export STRINDLE_NO_32BIT_WHY="the kernel starts no 32-bit programs${said:+ (${said##*"$probe": })}"
    return 1
}

# Whether Wine runs 32-bit Windows programs here, found once by starting the 32-bit loader: it
# needs both the kernel's support and wine32. The answer is exported, so that the scripts and
# tests started from here do not ask again. When it does not, STRINDLE_NO_32BIT_WHY says why.
wine_runs_32bit() {
    if [ -z "${STRINDLE_RUNS_32BIT:-}" ]; then
        local said
        STRINDLE_RUNS_32BIT=no
        if said=$("$wine32_loader" --version 2>&1); then
            STRINDLE_RUNS_32BIT=yes
        elif ! kernel_starts_32bit; then
            :  # which said why
        elif [ ! -e "$wine32_loader" ]; then
            export STRINDLE_NO_32BIT_WHY="wine32 is not installed"
        else
            export STRINDLE_NO_32BIT_WHY="wine32 does not start: ${said#*"$wine32_loader": }"
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
    elif wine_runs_32bit; then
        echo "$wine32_loader"
    else
        echo "$1 is a 32-bit program, and Wine runs none here ($STRINDLE_NO_32BIT_WHY)." >&2
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

# start_wine BUILD_DIR: makes the build folder's prefix and starts its Wine server and services,
# detached from this script's output. Started by a test program instead, they would hold that
# program's output pipe open, and ctest would wait for them as for that test.
start_wine() {
    "$root/scripts/wine-prefix.sh" "$1"
    WINEPREFIX="$1/wineprefix" wineserver -p </dev/null >/dev/null 2>&1
    WINEPREFIX="$1/wineprefix" WINEDEBUG=-all wine_program wineboot </dev/null >/dev/null 2>&1
}

stop_wine() {  # stop_wine BUILD_DIR...: ends the Wine server of each build folder's prefix
    for dir in "$@"; do
        if [ -d "$dir/wineprefix" ]; then
            WINEPREFIX="$dir/wineprefix" wineserver -k 2>/dev/null || true
        fi
    done
}
