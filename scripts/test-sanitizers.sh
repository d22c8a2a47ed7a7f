#!/bin/sh
# Builds the whole program and its test suite with AddressSanitizer and
# UndefinedBehaviorSanitizer into build-asan/ and runs the suite there. Any
# sanitizer report fails the run: a test that trips one aborts, and every
# report, a child process's included, is also written to
# build-asan/sanitizer-logs/, which must stay empty.
set -eu
cd "$(dirname "$0")/.."

./scripts/install-packages.sh test

build=build-asan
flags="-fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer -O1 -g"
if [ ! -f "$build/CMakeCache.txt" ]; then
    cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Debug \
        -DCMAKE_CXX_FLAGS="$flags" \
        -DCMAKE_EXE_LINKER_FLAGS="-fsanitize=address,undefined" \
        -DCORVANE_BENCHMARKS=OFF
fi
cmake --build "$build"

logs="$PWD/$build/sanitizer-logs"
rm -rf "$logs"
mkdir -p "$logs"
export ASAN_OPTIONS="halt_on_error=1:abort_on_error=1:detect_leaks=1:check_initialization_order=1:log_path=$logs/asan"
export UBSAN_OPTIONS="halt_on_error=1:abort_on_error=1:print_stacktrace=1:log_path=$logs/ubsan"
export QT_QPA_PLATFORM=offscreen

result=0
ctest --test-dir "$build" --output-on-failure --timeout 600 -j2 || result=$?

if [ -n "$(ls -A "$logs")" ]; then
    echo "Sanitizer reports:"
    for log in "$logs"/*; do
        echo "=== $log"
        cat "$log"
    done
    exit 1
fi
exit "$result"
