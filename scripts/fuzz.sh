#!/usr/bin/env bash
# Builds the fuzz targets of the portable model (clang, libFuzzer, AddressSanitizer and
# UndefinedBehaviorSanitizer), replays each target's seeds (tests/fuzz/corpus/TARGET),
# then fuzzes each for the given number of seconds, 20 unless told otherwise, two targets
# at a time. The seeds are only read; what the fuzzer finds goes under build/fuzz/,
# crashes to build/fuzz/crashes/. Needs what scripts/setup.sh installs.
#   scripts/fuzz.sh [SECONDS]
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-20}
build=build/fuzz

echo "== Fuzz targets of the portable model: their seeds, then $seconds s each"
cmake -S . -B "$build" -DVELTRANE_FUZZ=ON -DCMAKE_CXX_COMPILER=clang++ >/dev/null
cmake --build "$build" -j2 >/dev/null
mkdir -p "$build/crashes" "$build/logs"
rm -f "$build"/logs/*.result

# Every seed first, each target's in a ctest entry of its own.
if ! ctest --test-dir "$build" -j2 --output-on-failure >"$build/logs/seeds.log" 2>&1; then
    cat "$build/logs/seeds.log"
    echo "FAIL a seed of tests/fuzz/corpus/ fails, as shown above" >&2
    exit 1
fi
echo "Every seed of tests/fuzz/corpus/ replayed: $(find tests/fuzz/corpus -type f | wc -l) inputs, no failure"
# One target's run, its log kept; its result line in TARGET.result.
fuzz() {
    local target=$1 log=$build/logs/$1.log runs speed
    mkdir -p "$build/corpus/$target"
    # libFuzzer stops itself after max_total_time; timeout only catches a fuzzer that hangs.
    if timeout -k 10 $((seconds + 60)) "$build/$target" "$build/corpus/$target" "tests/fuzz/corpus/$target" \
            -max_total_time="$seconds" -timeout=10 -artifact_prefix="$build/crashes/$target-" \
            -print_final_stats=1 >"$log" 2>&1; then
        runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log")
        speed=$(sed -n 's/^stat::average_exec_per_sec: *//p' "$log")
        echo "$target: $runs runs, $speed per second, no failure" >"$build/logs/$target.result"
    else
        echo "FAIL $target: the input is in $build/crashes/, the whole log in $log" >"$build/logs/$target.result"
        return 1
    fi
}

targets=()
for seeds in tests/fuzz/corpus/*/; do targets+=("$(basename "$seeds")"); done
failed=0
running=0
for target in "${targets[@]}"; do
    if [ "$running" -ge 2 ]; then
        wait -n || failed=1
        running=$((running - 1))
    fi
    fuzz "$target" &
    running=$((running + 1))
done
while [ "$running" -gt 0 ]; do
    wait -n || failed=1
    running=$((running - 1))
done

for target in "${targets[@]}"; do
    cat "$build/logs/$target.result"
    if grep -q '^FAIL' "$build/logs/$target.result"; then tail -n 40 "$build/logs/$target.log"; fi
done
exit "$failed"
