#!/bin/sh
# run_long.sh [SECONDS] [BUILD_FOLDER]
# Runs every fuzz target of a native build for SECONDS (default 600), all at once, each on its
# own corpus in the build folder (seeded from tests/fuzz/corpus). Crashing inputs are kept in
# BUILD_FOLDER/tests/fuzz/long/. The folder can also come from TSW_BUILD_DIR; the default is
# /work/main/build/linux.
set -u
seconds=${1:-600}
build=${2:-${TSW_BUILD_DIR:-/work/main/build/linux}}
seeds=$(cd "$(dirname "$0")" && pwd)/corpus
work=$build/tests/fuzz/long

targets=""
for target in data_file ini_reader; do
    if [ ! -x "$build/tests/fuzz/fuzz_$target" ]; then
        echo "missing $build/tests/fuzz/fuzz_$target: build the linux preset (clang) first"
        exit 1
    fi
    targets="$targets $target"
done

pids=""
for target in $targets; do
    mkdir -p "$work/$target"
    "$build/tests/fuzz/fuzz_$target" -max_total_time="$seconds" -print_final_stats=1 \
        -artifact_prefix="$work/crash-$target-" "$work/$target" "$seeds/$target" \
        > "$work/$target.log" 2>&1 &
    pids="$pids $!"
done
echo "fuzzing$targets for $seconds s; logs in $work"

failed=0
set -- $targets
for pid in $pids; do
    if wait "$pid"; then
        runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$work/$1.log")
        echo "$1: no failure in ${runs:-?} inputs"
    else
        echo "$1: FAILED, see $work/$1.log"
        tail -n 20 "$work/$1.log"
        failed=1
    fi
    shift
done
exit $failed
