#!/bin/sh
# SPDX-License-Identifier: MIT
# Builds the program if needed and starts it.
set -eu
cd "$(dirname "$0")/.."
./scripts/setup.sh
exec ./build/src/corvane
