#!/bin/sh
# SPDX-License-Identifier: MIT
# Installs what is missing on a Debian or Ubuntu machine, then configures and
# builds the default preset of CMakePresets.json into build/. Safe to run
# again: it installs and rebuilds only what changed. It configures every time
# (a matter of seconds), so the build folder always has the preset's options.
set -eu
cd "$(dirname "$0")/.."

if [ "${1:-}" = "--for-tests" ]; then
    ./scripts/install-packages.sh test
else
    ./scripts/install-packages.sh build
fi

cmake --preset default
cmake --build --preset default
