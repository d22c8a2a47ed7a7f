#!/bin/sh
# SPDX-License-Identifier: MIT
# Rehearses from a checkout: builds what is missing, like run.sh, then runs
# the build's corvane-rehearse, which starts the simulated unit and the window
# in a private network namespace of their own. Its process takes this one's
# place, so signalling this script's PID reaches it.
set -eu
cd "$(dirname "$0")/.."
case "${1:-}" in
-h | --help)
    cat <<USAGE
Usage: scripts/rehearse.sh [SIMULATOR OPTIONS]
Builds what is missing (as scripts/run.sh does), then starts a simulated
unit and the Corvane window from the build in a private network namespace,
where the window's commands reach the simulator and nothing reaches the
real network. Needs root, or unprivileged user namespaces.
SIMULATOR OPTIONS are corvane-unit-sim's, e.g. --errors 3 or --ids 1,2.
Installed, the same is the command corvane-rehearse.
USAGE
    exit 0
    ;;
esac
./scripts/install-packages.sh rehearse
./scripts/setup.sh
PATH=$PWD/build/src:$PWD/build/tools/unit-sim:$PATH exec tools/rehearse/corvane-rehearse "$@"
