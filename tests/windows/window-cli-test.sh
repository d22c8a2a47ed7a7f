#!/bin/sh
# SPDX-License-Identifier: MIT
# corvane.exe's command line under Wine: a window program has no console, so
# --version and a refused argument each answer in a message box, and the
# exit status follows once the box is closed with Return. Run through
# private-network.sh and wine-session.sh --display.
# Usage: window-cli-test.sh CORVANE_EXE
set -u
corvane=$1
type xdotool >/dev/null || { echo "SKIPPED: needs xdotool"; exit 77; }
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failed=0
while read -r status arguments; do
    # shellcheck disable=SC2086 # the arguments are words
    wine64 "$corvane" $arguments >"$work/out" 2>&1 &
    program=$!
    box=""
    for _ in $(seq 300); do
        box=$(xdotool search --onlyvisible --name '^corvane$' 2>/dev/null | head -n 1)
        [ -n "$box" ] && break
        sleep 0.1
    done
    [ -z "$box" ] || { xdotool windowactivate --sync "$box" && xdotool key Return; } >/dev/null 2>&1
    wait "$program"
    got=$?
    [ -n "$box" ] && [ "$got" = "$status" ] ||
        { echo "FAIL: corvane $arguments: status $got, want $status after a box (box: ${box:-none})"; failed=1; }
done <<'CASES'
0 --version
2 --verbose
2 10.0.0.5
CASES
exit "$failed"
