#!/usr/bin/env bash
# Builds the fuzz targets of the portable model (clang, libFuzzer, AddressSanitizer and
# UndefinedBehaviorSanitizer) and runs each for the given number of seconds, 20 unless
# told otherwise. The seeds in tests/fuzz/corpus/ are only read; what the fuzzer finds
# goes under build/fuzz/, crashes to build/fuzz/crashes/. Needs what scripts/setup.sh
# installs.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-20}
build=build/fuzz

echo "== Fuzz targets of the portable model, $seconds s each"
cmake -S . -B "$build" -DVELTRANE_FUZZ=ON -DCMAKE_CXX_COMPILER=clang++ >/dev/null
cmake --build "$build" -j2 >/dev/null

mkdir -p "$build/crashes" "$build/logs"
for seeds in tests/fuzz/corpus/*/; do
    target=$(basename "$seeds")
    found="$build/corpus/$target"
    log="$build/logs/$target.log"
    mkdir -p "$found"
    if ! "$build/$target" "$found" "$seeds" -max_total_time="$seconds" -timeout=10 \
            -artifact_prefix="$build/crashes/$target-" -print_final_stats=1 >"$log" 2>&1; then
        tail -n 40 "$log"
        echo "$target failed; the input is in $build/crashes/, the whole log in $log" >&2
        exit 1
    fi
    runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log")
    speed=$(sed -n 's/^stat::average_exec_per_sec: *//p' "$log")
    echo "$target: $runs runs, $speed per second, no failure"
done
