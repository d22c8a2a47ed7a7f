#!/bin/sh
# SPDX-License-Identifier: MIT
# Builds everything and runs the whole test suite: the formatting check, the
# CTest suite, the suite again under ASan and UBSan, every fuzz target, every
# benchmark once, and the Windows programs with their tests under Wine.
# Tests that use the network run in private network namespaces of their own
# (tests/support/private-network.sh).
set -eu
cd "$(dirname "$0")/.."
./scripts/setup.sh --for-tests
find src tests tools bench fuzz -name '*.cpp' -o -name '*.h' | xargs clang-format --dry-run -Werror
ctest --preset default
./scripts/test-sanitizers.sh
./scripts/test-fuzz.sh
# The benchmarks must run to the end; whether this machine meets their
# targets is for their table to say. Without a private network namespace
# they are skipped (77), as the socket tests are.
bench/run.sh --check || [ $? -eq 77 ]
# Static Qt for Windows is built once from Debian's source and cached outside
# the repository (half an hour of two cores the first time; see the script).
./scripts/build-windows.sh
ctest --preset windows
