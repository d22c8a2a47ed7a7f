#!/bin/sh
# Installs what is missing on a Debian or Ubuntu machine, then configures and
# builds into build/. Safe to run again: it installs and rebuilds only what changed.
set -eu
cd "$(dirname "$0")/.."

if [ "${1:-}" = "--for-tests" ]; then
    ./scripts/install-packages.sh test
else
    ./scripts/install-packages.sh build
fi

[ -f build/CMakeCache.txt ] || cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build build
