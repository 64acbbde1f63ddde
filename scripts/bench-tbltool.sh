#!/usr/bin/env bash
# Whole runs of tbltool on a full table of 65,535 entries, beside plain copies of the same file:
# info beside cat, recompile beside a durable copy (dd conv=fsync). This is what a user waits
# for, start-up and fresh memory included, which the in-process benchmarks leave out. The table
# is made by tbltool import from generated text. Needs hyperfine; extra arguments go to it.
source "$(dirname "$0")/common.sh"
dir=$build_native-bench
step "building tbltool in $dir"
configure "$dir" -DCMAKE_BUILD_TYPE=Release -DSTRINDLE_TESTS=OFF
build "$dir" tbltool
tbltool=$dir/bin/tbltool

step "making a table of 65,535 entries"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
# Short keys, every 16th a repeat, and values of 1 to 24 words with a colour code and a line
# break now and then: about 14 MB, shaped like the game's tables.
awk 'BEGIN {
    print "String Index\tText"
    for (i = 0; i < 65535; i++) {
        line = "StrKey" (i % 16 == 15 ? int(i / 2) : i) "\t"
        for (w = 1 + (i * 7919) % 24; w > 0; w--)
            line = line (w % 9 == 0 ? "\\n" : "\303\277c4Destruction ")
        print line
    }
}' >"$work/full.txt"
"$tbltool" import --utf8 "$work/full.txt" "$work/full.tbl"

step "timing whole processes"
cd "$work"
hyperfine -N --warmup 5 --runs 40 "$@" \
    "$tbltool info full.tbl" "cat full.tbl" \
    "$tbltool recompile full.tbl out.tbl" "dd if=full.tbl of=copy.tbl bs=1M conv=fsync"
print_step_times
