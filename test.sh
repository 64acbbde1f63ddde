#!/usr/bin/env bash
# Installs what is missing, builds natively and for 32- and 64-bit Windows, and runs every test:
# native tests under AddressSanitizer, the Windows tests under Wine on a virtual display, and
# the fuzz targets for a short while when clang is there.
set -euo pipefail
source "$(dirname "$0")/scripts/common.sh"

"$root/scripts/install-deps.sh"
build_all
# The Windows zip takes the 64-bit Dunmore.dll from the -win64 tree, so it is packed last.
cmake --build "$build_win32" --target dist

cleanup() {
    stop_wine "$build_win32" "$build_win64"
    stop_display
}
trap cleanup EXIT

(cd "$build_native" && ctest --output-on-failure -j "$jobs")

# The fuzz targets start from the inputs the native tests just saved.
if command -v clang++ >/dev/null; then
    configure_and_build "$build_fuzz" -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ \
        -DSTRINDLE_FUZZ=ON -DSTRINDLE_FUZZ_SEEDS="$build_native/fuzz-seeds"
    (cd "$build_fuzz" && ctest --output-on-failure -j "$jobs")
fi

start_display
"$root/scripts/wine-prefix.sh" "$build_win32"
"$root/scripts/wine-prefix.sh" "$build_win64"
(cd "$build_win32" && ctest --output-on-failure -j "$jobs")
(cd "$build_win64" && ctest --output-on-failure -j "$jobs")
