#!/bin/sh
# SPDX-License-Identifier: MIT
# The command line of both programs. Every case runs without a display, so no
# window can open and nothing is bound or sent, whatever the arguments do.
# Usage: cli-test.sh CORVANE UNIT_SIM VERSION
set -u
corvane=$1 unit_sim=$2 version=$3
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failed=0

# expect STATUS STREAM LINE COMMAND...: COMMAND exits with STATUS and writes
# LINE (a whole line, as a basic regular expression) to STREAM, out or err.
expect() {
    status=$1 stream=$2 line=$3 && shift 3
    env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM timeout 10 "$@" >"$work/out" 2>"$work/err"
    got=$?
    # shellcheck disable=SC2015 # the case fails when either check does
    [ "$got" = "$status" ] && grep -qx -- "$line" "$work/$stream" ||
        { echo "FAIL: $*: status $got; want $status and the line '$line' on std$stream, got:"; cat "$work/out" "$work/err"; failed=1; }
}

expect 0 out "corvane $version" "$corvane" --version
expect 0 out "Usage: .* \[options\]" "$corvane" -h
expect 2 err "Usage: .* \[options\]" "$corvane" --verbose
expect 2 err "Usage: .* \[options\]" "$corvane" 10.0.0.5
expect 0 out "corvane-unit-sim $version" "$unit_sim" --version
expect 1 err "corvane: cannot open a display; is DISPLAY or WAYLAND_DISPLAY set?" "$corvane"
[ "$(wc -l <"$work/err")" = 1 ] || { echo "FAIL: more than one line without a display"; failed=1; }
exit "$failed"
