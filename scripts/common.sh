# Shared by test.sh and run.sh: build folders, configuring and building.
# BUILD_PREFIX names the native build folder; the cross builds take its name plus -win32 / -win64.
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build_native=${BUILD_PREFIX:-$root/build}
build_win32=$build_native-win32
build_win64=$build_native-win64
build_fuzz=$build_native-fuzz
jobs=$(nproc)

configure_and_build() {  # configure_and_build DIR [CMAKE_ARGS...]
    local dir=$1
    shift
    if [ ! -f "$dir/CMakeCache.txt" ]; then
        cmake -S "$root" -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo "$@" >/dev/null
    fi
    cmake --build "$dir" -j "$jobs"
}

build_all() {
    configure_and_build "$build_native" -DSTRINDLE_SANITIZE=ON
    configure_and_build "$build_win32" -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-i686.cmake"
    configure_and_build "$build_win64" -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-x86_64.cmake"
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

stop_wine() {  # stop_wine BUILD_DIR...
    for dir in "$@"; do
        if [ -d "$dir/wineprefix" ]; then
            WINEPREFIX="$dir/wineprefix" wineserver -k 2>/dev/null || true
        fi
    done
}
