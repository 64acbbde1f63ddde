#!/usr/bin/env bash
# Installs what is missing, builds natively and for 32- and 64-bit Windows, and runs every test:
# native tests under AddressSanitizer, the fuzz targets for a short while when clang is there,
# and the Windows tests under Wine on a virtual display: the 64-bit tree's always, the 32-bit
# tree's where Wine runs 32-bit programs (the kernel starts them and wine32 is installed).
source "$(dirname "$0")/scripts/common.sh"

fuzz_pid=
cleanup() {
    [ -z "$fuzz_pid" ] || kill -- "-$fuzz_pid" 2>/dev/null || true
    stop_wine "$build_win32" "$build_win64"
    stop_display
    print_step_times
}
trap cleanup EXIT

step "installing what is missing"
"$root/scripts/install-deps.sh"

# The 32-bit tree is always built: it holds the programs we ship. Its test programs are built
# only where they can run.
if wine_runs_32bit; then win32_tests=ON; else win32_tests=OFF; fi
windows_trees=("$build_win64")
[ $win32_tests = OFF ] || windows_trees+=("$build_win32")

# Making a Wine prefix mostly waits: it goes on beside the builds. Starting the Wine server for
# the tests waits for it (scripts/wine-prefix.sh makes a prefix once, under a lock), and makes
# the prefix itself, saying what failed, if this attempt did not.
step "starting a virtual display, and making the Wine prefixes in the background"
start_display
for tree in "${windows_trees[@]}"; do
    mkdir -p "$tree"
    "$root/scripts/wine-prefix.sh" "$tree" >"$tree/wineprefix.log" 2>&1 &
done

step "building the native tree $build_native"
configure_native
build "$build_native"
step "building the 64-bit Windows tree $build_win64"
configure_win64
build "$build_win64"
step "building the 32-bit Windows tree $build_win32"
configure_win32 -DSTRINDLE_TESTS=$win32_tests
build "$build_win32"
# The Windows zip takes the 64-bit programs from the -win64 tree, so it is packed last.
step "packing the Windows zip"
build "$build_win32" dist

step "running the native tests"
ctest --test-dir "$build_native" --output-on-failure -j "$jobs"

# The fuzz targets start from the inputs the native tests just saved. They run for a fixed time
# beside the Windows tests, which mostly wait for windows and leave the processor idle; at the
# lowest priority, they take only what the Windows tests leave. That is about four fifths of
# the processor, so each runs 25 s instead of the 20 s it is given alone.
if command -v clang++ >/dev/null; then
    step "building the fuzz targets in $build_fuzz"
    configure "$build_fuzz" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ \
        -DSTRINDLE_FUZZ=ON -DSTRINDLE_FUZZ_SEEDS="$build_native/fuzz-seeds" -DSTRINDLE_FUZZ_SECONDS=25
    build "$build_fuzz"
    setsid nice -n 19 ctest --test-dir "$build_fuzz" --output-on-failure -j "$jobs" >"$build_fuzz/fuzz-run.log" 2>&1 &
    fuzz_pid=$!
fi

step "running the 64-bit Windows tests"
start_wine "$build_win64"
ctest --test-dir "$build_win64" --output-on-failure -j "$jobs"
if [ $win32_tests = ON ]; then
    # No window of the 64-bit run may stay up to take the focus from the 32-bit tests' windows.
    stop_wine "$build_win64"
    step "running the 32-bit Windows tests"
    start_wine "$build_win32"
    ctest --test-dir "$build_win32" --output-on-failure -j "$jobs"
else
    echo "32-bit Windows tests: not built and not run, because Wine runs no 32-bit programs here ($STRINDLE_NO_32BIT_WHY); the 32-bit programs were built."
fi

if [ -n "$fuzz_pid" ]; then
    step "finishing the fuzz runs"
    fuzz_status=0
    wait "$fuzz_pid" || fuzz_status=$?
    fuzz_pid=
    cat "$build_fuzz/fuzz-run.log"
    [ $fuzz_status = 0 ] || { echo "the fuzz runs failed (ctest exited with status $fuzz_status)" >&2; exit 1; }
fi
