#!/bin/bash
# SPDX-License-Identifier: MIT
# corvane-unit-sim on the network: it keeps its port to itself, and --delay
# holds a bounded number of replies: a burst of frames beyond it gets its
# replies dropped, each counted in the log. Runs inside a private network
# namespace (tests/support/private-network.sh); bash, for its /dev/udp. A
# Windows simulator under Wine takes longer to start and ends its lines with CR LF.
# Usage: sim-server.sh CORVANE_UNIT_SIM
set -u
sim=$1
work=$(mktemp -d)
trap 'kill $(jobs -p) 2>/dev/null; rm -rf "$work"' EXIT

"$sim" --ids 1 --delay 600000 >"$work/sim.log" &
for _ in $(seq 300); do grep -q '^ready' "$work/sim.log" && break; sleep 0.1; done
timeout 20 "$sim" >/dev/null 2>&1
[ $? = 1 ] || { echo "FAIL: a second simulator did not find the port taken"; exit 1; }
# Play for unit 1, 1,030 times: six more than may wait. Sent in tens, each
# ten received before the next, so that the socket's buffer never overflows.
for sent in $(seq 10 10 1030); do
    for _ in $(seq 10); do printf '\361\001\004\061\100\120\114\015\377\001\037\362' >/dev/udp/127.0.0.1/2639; done
    for _ in $(seq 100); do [ "$(grep -c '^rx ' "$work/sim.log")" -ge "$sent" ] && break; sleep 0.05; done
done

got="$(grep -c '^rx ' "$work/sim.log") received, $(grep -c '^drop ' "$work/sim.log") dropped, last: $(grep '^drop ' "$work/sim.log" | tail -n 1 | tr -d '\r')"
want="1030 received, 6 dropped, last: drop to=127.0.0.1:$(sed -n 's/^rx from=127.0.0.1:\([0-9]*\) .*/\1/p' "$work/sim.log" | tail -n 1) reply=R waiting=1024 dropped=6"
[ "$got" = "$want" ] || { echo "FAIL: got '$got', want '$want'"; exit 1; }
