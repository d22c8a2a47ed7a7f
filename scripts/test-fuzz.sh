#!/bin/sh
# SPDX-License-Identifier: MIT
# Builds the fuzz targets of fuzz/ (the fuzz preset: clang, libFuzzer,
# AddressSanitizer and UndefinedBehaviorSanitizer) into build-fuzz/ and runs
# each one for a bounded time: CORVANE_FUZZ_SECONDS seconds each, 60 unless
# set. A crash, a sanitizer report or a disagreement with a target's model
# fails the run, and the input that caused it is kept as
# build-fuzz/crash-TARGET-*. The seeds in
# fuzz/corpus/TARGET are only read; what the fuzzer finds goes to build-fuzz/.
set -eu
cd "$(dirname "$0")/.."
seconds=${CORVANE_FUZZ_SECONDS:-60}

./scripts/install-packages.sh fuzz

build=build-fuzz
cmake --preset fuzz
cmake --build --preset fuzz

passed=0
failed=0
for target in input_checks frames osc_request; do
    binary="$build/fuzz/fuzz_$target"
    work="$build/corpus/$target"
    log="$build/fuzz_$target.log"
    mkdir -p "$work"
    if "$binary" -max_total_time="$seconds" -max_len=4096 -timeout=20 \
        -print_final_stats=1 -artifact_prefix="$build/crash-$target-" \
        "$work" "fuzz/corpus/$target" >"$log" 2>&1; then
        runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log")
        echo "fuzz_$target: ${runs:-?} executions in $seconds s, no crash, no disagreement"
        passed=$((passed + 1))
    else
        echo "fuzz_$target: FAILED (log: $log)"
        grep -E "DISAGREEMENT|ERROR|SUMMARY|runtime error" "$log" | head -20 || true
        tail -30 "$log"
        failed=$((failed + 1))
    fi
done
echo "fuzz: $passed passed, $failed failed"
[ "$failed" = 0 ]
