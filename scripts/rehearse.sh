#!/bin/sh
# SPDX-License-Identifier: MIT
# Rehearses without a unit: starts the simulated unit and the program together
# in a private network namespace of their own (tests/support/private-network.sh),
# so broadcasts reach the simulator and nothing reaches the real network. The
# simulator stops when the window closes, or when this script is stopped.
# Builds what is missing first, like run.sh.
# Usage: rehearse.sh [SIMULATOR OPTIONS]   e.g. rehearse.sh --errors 3 --ids 1,2
set -eu
cd "$(dirname "$0")/.."
self=$PWD/scripts/rehearse.sh

if [ "${1:-}" != "--in-namespace" ]; then
    ./scripts/install-packages.sh rehearse
    ./scripts/setup.sh
    status=0
    tests/support/private-network.sh "$self" --in-namespace "$@" || status=$?
    [ "$status" != 77 ] || echo "rehearse: needs root, or unprivileged user namespaces, to make the namespace" >&2
    exit "$status"
fi
shift

work=$(mktemp -d)
sim_pid=""
corvane_pid=""
# shellcheck disable=SC2317 # called by the traps
stop() {
    for pid in $corvane_pid $sim_pid; do
        kill "$pid" 2>/dev/null || true
        wait "$pid" 2>/dev/null || true
    done
    rm -rf "$work"
}
trap stop EXIT
trap 'exit 129' HUP
trap 'exit 130' INT
trap 'exit 143' TERM

# The simulator's log goes to the terminal; its first line says whether it
# listens, and the window is started only once it does.
mkfifo "$work/sim-log"
build/tools/unit-sim/corvane-unit-sim "$@" >"$work/sim-log" 2>&1 &
sim_pid=$!
exec 3<"$work/sim-log"
if ! IFS= read -r first <&3; then
    echo "rehearse: the simulator ended before it was ready" >&2
    exit 1
fi
echo "$first"
case "$first" in
ready*) ;;
*)
    # It refused its options, or only printed its help or version.
    cat <&3
    status=0
    wait "$sim_pid" || status=$?
    sim_pid=""
    exit "$status"
    ;;
esac
cat <&3 &

# In the background, so that a signal to this script is handled at once
# rather than when the window closes.
build/src/corvane &
corvane_pid=$!
status=0
wait "$corvane_pid" || status=$?
corvane_pid=""
exit "$status"
