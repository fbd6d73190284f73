#!/bin/sh
# Builds the fuzz targets and runs each for the given seconds (default 180)
# from its seed corpus in the repository. New inputs go to a work corpus in
# the build folder; a finding stops the run with the failing input kept in
# build/fuzz/findings. Prints each target's executions.
set -eu
seconds="${1:-180}"
here="$(cd "$(dirname "$0")" && pwd)"
root="$(cd "$here/../.." && pwd)"
build="$root/build/fuzz"

cmake -S "$here" -B "$build" -DCMAKE_CXX_COMPILER=clang++-14 -DCMAKE_BUILD_TYPE=Debug >/dev/null
cmake --build "$build" -j2 >/dev/null
mkdir -p "$build/findings"

for target in "$here"/*_fuzz.cpp; do
    name="$(basename "$target" .cpp)"
    work="$build/corpus/$name"
    mkdir -p "$work"
    log="$build/$name.log"
    if ! "$build/$name" -max_total_time="$seconds" -max_len=12000 -timeout=10 \
            -print_final_stats=1 -artifact_prefix="$build/findings/$name-" \
            "$work" "$here/corpus/$name" >"$log" 2>&1; then
        tail -n 40 "$log"
        echo "fuzz: $name found a fault; input kept in $build/findings" >&2
        exit 1
    fi
    runs="$(sed -n 's/^stat::number_of_executed_units: *//p' "$log")"
    echo "fuzz: $name: $runs executions in ${seconds}s, nothing found"
done
