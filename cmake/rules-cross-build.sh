#!/bin/sh
# SPDX-License-Identifier: MIT
# Configures and builds the rules library alone (no Qt) for 64-bit Windows
# with the MinGW-w64 cross compiler, and checks that what came out is Windows
# code. Exits 77 (a skip for CTest) where the cross compiler is missing.
#   rules-cross-build.sh SOURCE_DIR BUILD_DIR [GENERATOR]
set -eu
source=$1
build=$2
generator=${3:-Ninja}
compiler=x86_64-w64-mingw32-g++-posix

if ! command -v "$compiler" >/dev/null 2>&1; then
    echo "SKIPPED: $compiler not found (Debian package g++-mingw-w64-x86-64-posix)"
    exit 77
fi

cmake -S "$source" -B "$build" -G "$generator" -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_TOOLCHAIN_FILE="$source/cmake/mingw-w64-x86_64.cmake" -DCORVANE_RULES_ONLY=ON
cmake --build "$build" --target corvane_rules

library=$(find "$build" -name 'libcorvane_rules.a' | head -1)
if ! x86_64-w64-mingw32-objdump -f "$library" | grep -q 'pe-x86-64'; then
    echo "$library does not hold 64-bit Windows objects"
    exit 1
fi
echo "corvane_rules builds for 64-bit Windows: $library"
