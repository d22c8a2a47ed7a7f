#!/bin/sh
# SPDX-License-Identifier: MIT
# Every way a rehearsal ends leaves no process behind: the window ending,
# Ctrl-C (SIGINT to the terminal's process group), SIGTERM and SIGHUP to the
# PID a user sees. The window runs offscreen; the rehearsal makes its own
# namespace inside the private one this test runs in. Each run's processes
# are told apart by a mark in their environment.
# Usage: endings.sh REHEARSE_SH CORVANE_REHEARSE CORVANE UNIT_SIM
set -u
rehearse_sh=$1 rehearse=$2
PATH=$(dirname "$3"):$(dirname "$4"):$PATH
export PATH QT_QPA_PLATFORM=offscreen
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failed=0
fail() {
    echo "FAIL: $*"
    failed=1
}

# wait_until SECONDS CONDITION: polls the shell CONDITION; false once the time is up.
wait_until() {
    for _ in $(seq $(($1 * 10))); do
        ! eval "$2" || return 0
        sleep 0.1
    done
    return 1
}

# marked MARK [NAME]: the PIDs of the processes with MARK, only those called NAME if given.
marked() {
    # shellcheck disable=SC2013 # one path a word
    for environ in $(grep -las "^REHEARSAL_MARK=$1\$" -z /proc/[0-9]*/environ); do
        pid=${environ#/proc/} pid=${pid%/environ}
        [ -z "${2:-}" ] || [ "$(cat "/proc/$pid/comm" 2>/dev/null)" = "$2" ] || continue
        echo "$pid"
    done
}

# Its own usage, not the simulator's, from the checkout and installed.
sh "$rehearse_sh" --help | grep -q '^Usage: scripts/rehearse.sh' || fail "rehearse.sh --help is not its own"
"$rehearse" --help | grep -q '^Usage: corvane-rehearse \[SIMULATOR OPTIONS\]' || fail "--help is not its own"

# One case a line: how it ends, the status the rehearsal ends with.
while read -r ending want; do
    mark=$ending-$$
    # A session of its own, as a terminal would start it: its PID is its
    # process group, and SIGINT is not ignored as in a background job.
    REHEARSAL_MARK=$mark setsid env --default-signal=INT "$rehearse" --ids 1 >"$work/log" 2>&1 &
    pid=$!
    # shellcheck disable=SC2016 # evaluated by wait_until
    wait_until 10 '[ -n "$(marked "$mark" corvane)" ]'
    case $ending in
    window) kill -TERM "$(marked "$mark" corvane)" ;;
    ctrl-c) env kill -s INT -- "-$pid" ;;
    sigterm) kill -TERM "$pid" ;;
    sighup) kill -HUP "$pid" ;;
    esac
    # shellcheck disable=SC2016 # evaluated by wait_until
    if wait_until 10 '! kill -0 "$pid" 2>/dev/null'; then
        status=0
        wait "$pid" || status=$?
        [ "$status" = "$want" ] || fail "$ending: the rehearsal ended with status $status, want $want: $(cat "$work/log")"
    else
        fail "$ending: the rehearsal did not end: $(cat "$work/log")"
    fi
    sleep 0.2
    left=$(marked "$mark")
    if [ -n "$left" ]; then
        fail "$ending: left running: $(for p in $left; do cat "/proc/$p/comm"; done | xargs)"
        # shellcheck disable=SC2086 # one PID a word
        kill -KILL $left
    fi
done <<CASES
window 143
ctrl-c 130
sigterm 143
sighup 129
CASES
exit "$failed"
