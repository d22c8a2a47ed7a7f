#!/bin/sh
# SPDX-License-Identifier: MIT
# corvane-send against a simulated unit 1, inside a private network namespace
# (run it through tests/support/private-network.sh). Each case gives the
# simulator's options and the command line, then what must come of it: the
# exit status, stdout, the last line of stderr, how many frames the unit
# received, and the first frame's bytes (hand-written hex) where they matter.
# Usage: send-cases.sh CORVANE_SEND CORVANE_UNIT_SIM
set -u
send=$1 sim=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failed=0
while IFS='|' read -r name sim_options arguments want; do
    : >"$work/sim.log" # before the simulator starts, so no earlier "ready" is read
    # shellcheck disable=SC2086 # options and arguments are lists of words
    "$sim" --ids 1 $sim_options >>"$work/sim.log" &
    for _ in $(seq 50); do grep -q '^ready' "$work/sim.log" && break; sleep 0.1; done
    # shellcheck disable=SC2086
    timeout 10 "$send" $arguments >"$work/out" 2>"$work/err" # 124 when it hangs
    status=$?
    sleep 0.3 # lets the simulator log a frame that nothing answers
    { kill $! && wait $!; } 2>/dev/null
    first=$(sed -n 's/^rx .* hex=\[\([^]]*\)\].*/\1/p' "$work/sim.log" | head -n 1)
    # Windows programs end their lines with CR LF.
    got="$status|$(tr -d '\r' <"$work/out")|$(tail -n 1 "$work/err" | tr -d '\r')|$(grep -c '^rx ' "$work/sim.log")|"
    # The first frame's bytes count only where the case gives them.
    [ "${want%|}" = "${got%|}" ] || [ "$want" = "$got$first" ] ||
        { echo "FAIL $name: got '$got$first', want '$want'"; failed=1; }
done <<'CASES'
play reaches the unit byte for byte||play|0|R||1|F1 01 04 31 40 50 4C 0D FF 01 1F F2
three E00 then R|--errors 3|play|0|R||4|
E00 to everything: 41 resends|--errors 50|play|3|E00||42|
silent unit|--silent|--timeout 300 play|4||corvane-send: no reply from the unit|1|
E00, then silence: the resend is awaited as long|--errors 1 --silent|--timeout 300 play|4||corvane-send: no reply from the unit|2|
ID 127 awaits nothing||--id 127 stop|0|||1|
bad address sends nothing||--address 256.1.1.1 play|2||corvane-send: An invalid IP address was entered!|0|
bad ID sends nothing||--id 128 play|2||corvane-send: Invalid Tesk2 ID! (0-127)|0|
five address groups send nothing||--address 127.0.0.1.5 play|2||corvane-send: not an IPv4 address of four numbers: 127.0.0.1.5|0|
no time to wait||--timeout 0 play|2||corvane-send: invalid timeout (milliseconds, 1 or more): 0|0|
select needs its clip||select|2||corvane-send: select takes one clip number|0|
CASES
exit $failed
