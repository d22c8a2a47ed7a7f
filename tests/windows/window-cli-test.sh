#!/bin/sh
# SPDX-License-Identifier: MIT
# corvane.exe's command line under Wine: a window program has no console, so
# --version and a refused argument each answer in a message box, and the
# exit status follows once the box is closed with Return. Needs Xvfb, a
# window manager (openbox) and xdotool. Run through private-network.sh and
# wine-session.sh.
# Usage: window-cli-test.sh CORVANE_EXE
set -u
corvane=$1
type Xvfb xdotool openbox >/dev/null || { echo "SKIPPED: needs Xvfb, xdotool and openbox"; exit 77; }
work=$(mktemp -d)
trap 'kill "$window_manager" "$xvfb" 2>/dev/null; rm -rf "$work"' EXIT
Xvfb -displayfd 3 -nolisten tcp -screen 0 800x600x24 3>"$work/display" 2>/dev/null &
xvfb=$!
for _ in $(seq 100); do [ -s "$work/display" ] && break; sleep 0.1; done
DISPLAY=:$(head -n 1 "$work/display")
export DISPLAY
openbox >/dev/null 2>&1 &
window_manager=$!
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
