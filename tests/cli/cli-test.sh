#!/bin/sh
# SPDX-License-Identifier: MIT
# The command line of the four programs, which share one convention for
# their exit status: 0 done, 1 could not run, 2 usage; codes of their own
# (corvane-send's 3 and 4) are tested with the tool. Runs in a private
# network namespace: the cases that take a port bind one, and nothing is sent.
# The window never opens: there is no display, one that cannot be opened, or
# arguments it refuses once Qt has opened one (and told what it loaded).
# Usage: cli-test.sh CORVANE UNIT_SIM SEND OSC VERSION
set -u
corvane=$1 unit_sim=$2 send=$3 osc=$4 version=$5
work=$(mktemp -d)
sim=""
trap '[ -z "$sim" ] || kill "$sim" 2>/dev/null; rm -rf "$work"' EXIT
failed=0
fail() {
    echo "FAIL: $*"
    failed=1
}

# A simulator on port 2639, once it listens.
start_sim() {
    "$unit_sim" --port 2639 >"$work/sim" 2>&1 &
    sim=$!
    for _ in $(seq 50); do
        ! grep -q '^ready' "$work/sim" || return 0
        sleep 0.1
    done
    fail "the simulator did not start: $(cat "$work/sim")"
}
start_sim # it holds the port, so that the others cannot take it

# One case a line: the ENVIRONMENT (- for none: no display), STATUS, STREAM
# (out or err), a LINE the stream must hold (a basic regular expression),
# the PROGRAM and its ARGUMENTS. @ stands for the program's name.
while IFS='|' read -r environment status stream line program arguments; do
    case "$program" in
    corvane) path=$corvane ;; corvane-unit-sim) path=$unit_sim ;;
    corvane-send) path=$send ;; corvane-osc) path=$osc ;;
    esac
    line=$(printf '%s' "$line" | sed "s/@/$program/g; s/VERSION/$version/g")
    [ "$environment" != - ] || environment=""
    # shellcheck disable=SC2086 # the environment and arguments are words
    env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM -u XDG_SESSION_TYPE $environment \
        timeout 10 "$path" $arguments >"$work/out" 2>"$work/err"
    got=$?
    # shellcheck disable=SC2015 # the case fails when either check does
    grep -qx -- "$line" "$work/$stream" && [ "$got" = "$status" ] ||
        fail "$program $arguments ($environment): status $got; want $status and the line '$line'" \
             "on std$stream, got: $(cat "$work/out" "$work/err")"
    [ "$status,$program" != 1,corvane ] || [ "$(wc -l <"$work/err")" = 1 ] || fail "$environment corvane: not one line"
done <<EOF
-|0|out|@ VERSION|corvane|-v
-|2|err|Usage: .* \[options\]|corvane|--verbose
-|2|err|Usage: .* \[options\]|corvane|10.0.0.5
-|1|err|corvane: cannot open a display; is DISPLAY or WAYLAND_DISPLAY set?|corvane|
DISPLAY=:77|1|err|corvane: cannot open a display; is DISPLAY or WAYLAND_DISPLAY set?|corvane|
XDG_RUNTIME_DIR=/tmp XDG_SESSION_TYPE=wayland WAYLAND_DISPLAY=corvane-none|1|err|corvane: cannot open a display; is DISPLAY or WAYLAND_DISPLAY set?|corvane|
DISPLAY=:77|0|out|@ VERSION|corvane|--version
DISPLAY=:77|0|out|Usage: .* \[options\]|corvane|-h
DISPLAY=:77|2|err|Usage: .* \[options\]|corvane|--verbose
QT_QPA_PLATFORM=offscreen QT_DEBUG_PLUGINS=1|2|err|qt.core.plugin.factoryloader: checking directory path .*platforms.*|corvane|--verbose
-|0|out|@ VERSION|corvane-unit-sim|--version
-|2|err|@: Unknown option 'verbose'. (see --help)|corvane-unit-sim|--verbose
-|1|err|@: cannot listen on UDP port 2639: .*|corvane-unit-sim|--port 2639
-|0|out|@ VERSION|corvane-send|--version
-|2|err|@: Unknown option 'verbose'.|corvane-send|--verbose play
-|0|out|@ VERSION|corvane-osc|--version
-|2|err|corvane.osc: Unknown option 'verbose'.|corvane-osc|--verbose
-|1|err|corvane.osc: cannot listen on 127.0.0.1:2639: .*|corvane-osc|--listen 127.0.0.1:2639
-|2|err|corvane.osc: invalid --listen, want \[ADDR:\]PORT, ADDR not a broadcast address: 255.255.255.255:9300|corvane-osc|--listen 255.255.255.255:9300
-|2|err|corvane.osc: invalid --listen, want \[ADDR:\]PORT, ADDR not a broadcast address: 10.99.0.255:9300|corvane-osc|--listen 10.99.0.255:9300
-|2|err|corvane.osc: --listen and --reply-to are given once at most|corvane-osc|--listen 9300 --listen 9301
-|2|err|corvane.osc: invalid --reply-to, want \[ADDR:\]PORT: 0|corvane-osc|--reply-to 0
-|2|err|corvane.osc: invalid --feedback, want ADDR:PORT: 9302|corvane-osc|--feedback 9302
EOF

# Stopped by a signal, a program that runs until stopped ends as after any run.
for signal in INT TERM; do
    [ -n "$sim" ] || start_sim
    kill -s "$signal" "$sim"
    status=0
    wait "$sim" || status=$?
    sim=""
    [ "$status" = 0 ] || fail "corvane-unit-sim: status $status on SIG$signal, want 0"
done
exit "$failed"
