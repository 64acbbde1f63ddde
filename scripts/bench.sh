#!/usr/bin/env bash
# Builds the benchmarks in a Release tree (build-bench/) and runs them all; extra arguments
# go to every benchmark program (e.g. --benchmark_filter=Compile).
source "$(dirname "$0")/common.sh"
step "installing what is missing"
"$root/scripts/install-deps.sh"
dir=$build_native-bench
step "building the benchmarks in $dir"
configure "$dir" -DCMAKE_BUILD_TYPE=Release -DSTRINDLE_TESTS=OFF
build "$dir"
for b in "$dir"/bin/*_bench; do
    step "running $(basename "$b")"
    "$b" "$@"
done
