#!/bin/sh
# SPDX-License-Identifier: MIT
# Builds the whole program and its test suite with AddressSanitizer and
# UndefinedBehaviorSanitizer (the asan preset) into build-asan/ and runs the
# suite there. Any sanitizer report fails the run: a test that trips one
# aborts, and every report, a child process's included, is also written to
# build-asan/sanitizer-logs/, which must stay empty.
set -eu
cd "$(dirname "$0")/.."

./scripts/install-packages.sh test

build=build-asan
cmake --preset asan
cmake --build --preset asan

logs="$PWD/$build/sanitizer-logs"
rm -rf "$logs"
mkdir -p "$logs"
export ASAN_OPTIONS="halt_on_error=1:abort_on_error=1:detect_leaks=1:check_initialization_order=1:log_path=$logs/asan"
export UBSAN_OPTIONS="halt_on_error=1:abort_on_error=1:print_stacktrace=1:log_path=$logs/ubsan"

result=0
ctest --preset asan || result=$?

# LeakSanitizer notes it when a thread of a process at exit could not be
# stopped for the leak check; that is no report of its own, and a log that
# holds nothing else is dropped.
for log in "$logs"/*; do
    [ -e "$log" ] || continue
    if ! grep -qv 'Running thread [0-9]* was not suspended. False leaks are possible.' "$log"; then
        echo "(dropped $log: only LeakSanitizer's note that a thread could not be stopped)"
        rm "$log"
    fi
done
if [ -n "$(ls -A "$logs")" ]; then
    echo "Sanitizer reports:"
    for log in "$logs"/*; do
        echo "=== $log"
        cat "$log"
    done
    exit 1
fi
exit "$result"
