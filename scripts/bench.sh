#!/usr/bin/env bash
# Builds the benchmarks in a Release tree (build-bench/) and runs them all; extra arguments
# go to every benchmark program (e.g. --benchmark_filter=Compile).
set -euo pipefail
source "$(dirname "$0")/common.sh"
"$root/scripts/install-deps.sh"
dir=$build_native-bench
if [ ! -f "$dir/CMakeCache.txt" ]; then
    cmake -S "$root" -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null
fi
cmake --build "$dir" -j "$jobs"
for b in "$dir"/bin/*_bench; do
    echo "== $(basename "$b")"
    "$b" "$@"
done
