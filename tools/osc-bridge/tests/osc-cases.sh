#!/bin/bash
# SPDX-License-Identifier: MIT
# corvane-osc driven by Debian's oscsend (a real OSC client) against a
# simulated unit 1, inside a private network namespace (run it through
# tests/support/private-network.sh). Each case gives the simulator's options
# and the message (oscsend's arguments, or raw: bytes for printf), then the
# number of frames the unit must get, their bytes (hand-written hex) where
# they matter, and the OSC answer. oscsend sends from a port that closes at
# once, so answers are read from a capture of lo with Wireshark's own OSC
# dissector, which also shows where each went. Bash, for its /dev/udp.
# Usage: osc-cases.sh CORVANE_OSC CORVANE_UNIT_SIM
set -u
osc=$1 sim=$2
type -P oscsend dumpcap tshark >/dev/null || { echo "SKIPPED: needs oscsend, dumpcap and tshark (apt-get install liblo-tools tshark)"; exit 77; }
work=$(mktemp -d)
trap 'kill $(jobs -p) 2>/dev/null; rm -rf "$work"' EXIT
await() { for _ in $(seq 50); do grep -q "$1" "$2" && return; sleep 0.1; done; }

dumpcap -q -i lo -f "udp port 9000" -w "$work/osc.pcapng" 2>"$work/dumpcap.log" &
capture=$!
"$osc" --timeout 300 2>"$work/osc.log" &
bridge=$!
await '^Capturing' "$work/dumpcap.log"
await 'taking OSC' "$work/osc.log"
failed=0
while IFS='|' read -r name sim_options message frames hexes answer; do
    : >"$work/sim.log" # before the simulator starts, so no earlier "ready" is read
    "$sim" --ids 1 $sim_options >>"$work/sim.log" &
    await '^ready' "$work/sim.log"
    case $message in
    raw:*) printf "${message#raw:}" >/dev/udp/127.0.0.1/9000 ;;
    *) oscsend 127.0.0.1 9000 $message ;;
    esac
    sleep 0.6
    { kill $! && wait $!; } 2>/dev/null
    got_hexes=$(sed -n 's/^rx .* hex=\[\([^]]*\)\].*/\1/p' "$work/sim.log" | paste -sd, | sed 's/,/, /g')
    got="$(grep -c '^rx ' "$work/sim.log")|${hexes:+$got_hexes}"
    [ "$got" = "$frames|$hexes" ] || { echo "FAIL $name: got '$got', want '$frames|$hexes'"; failed=1; }
    [ -z "$answer" ] || echo "$answer" >>"$work/answers"
done <<'CASES'
play||/unit/1/play|1|F1 01 04 31 40 50 4C 0D FF 01 1F F2|/unit/1/reply|R
loop||/unit/1/loop|1|F1 01 04 31 40 4C 50 0D FF 01 1F F2|/unit/1/reply|R
pause||/unit/1/pause|1|F1 01 04 31 40 50 41 0D FF 01 14 F2|/unit/1/reply|R
still||/unit/1/still|1|F1 01 04 31 40 53 54 0D FF 01 2A F2|/unit/1/reply|R
stop||/unit/1/stop|1|F1 01 04 31 40 52 4A 0D FF 01 1F F2|/unit/1/reply|R
mute-video||/unit/1/mute-video|1|F1 01 04 31 40 30 56 44 0D FF 01 4D F2|/unit/1/reply|R
unmute-video||/unit/1/unmute-video|1|F1 01 04 31 40 31 56 44 0D FF 01 4E F2|/unit/1/reply|R
mute-audio||/unit/1/mute-audio|1|F1 01 04 31 40 30 41 44 0D FF 01 38 F2|/unit/1/reply|R
unmute-audio||/unit/1/unmute-audio|1|F1 01 04 31 40 31 41 44 0D FF 01 39 F2|/unit/1/reply|R
select, string clip as written||/unit/1/select s 00012|1|F1 01 04 31 40 30 30 30 31 32 53 45 0D FF 02 0E F2|/unit/1/reply|R
select, int clip||/unit/1/select i 42|1|F1 01 04 31 40 34 32 53 45 0D FF 01 81 F2|/unit/1/reply|R
three E00 then R|--errors 3|/unit/1/play|4||/unit/1/reply|R
E00 to everything|--errors 50|/unit/1/play|42||/unit/1/resends-spent|E00
silent unit|--silent|/unit/1/play|1||/unit/1/timeout
ID 127 awaits nothing||/unit/127/stop|1||
bad ID||/unit/128/play|0||/unit/128/error|Invalid Tesk2 ID! (0-127)
bad clip||/unit/1/select s 123456|0||/unit/1/error|Invalid clip number! (a string of 0 to 5 digits, or an int 0-99999)
unknown command||/unit/1/dance|0||/unit/1/error|unknown command: dance
truncated||raw:/unit/1/pl|0||
type tags that do not match the data||raw:/unit/1/select\0\0,i\0\0|0||
unknown type tag||raw:/unit/1/play\0\0\0\0,X\0\0|0||
bundle of two, in order||raw:#bundle\0\0\0\0\0\0\0\0\1\0\0\0\024/unit/1/play\0\0\0\0,\0\0\0\0\0\0\024/unit/1/stop\0\0\0\0,\0\0\0|2|F1 01 04 31 40 50 4C 0D FF 01 1F F2, F1 01 04 31 40 52 4A 0D FF 01 1F F2|/unit/1/reply|R
CASES
kill -TERM "$bridge"
wait "$bridge" || { echo "FAIL: corvane-osc did not end with status 0 on SIGTERM"; failed=1; }
kill "$capture" && wait "$capture"
# Each answer must go to the port its message came from.
tshark -r "$work/osc.pcapng" --enable-heuristic osc_udp -T fields -E separator='|' -e udp.srcport -e udp.dstport \
    -e osc.message.header.path -e osc.message.string 2>"$work/tshark.log" |
    awk -F'|' '$2 == 9000 { from = $1 } $1 == 9000 { print ($2 == from ? "" : "ELSEWHERE ") $3 ($4 == "" ? "" : "|" $4) }' \
        >"$work/got-answers"
diff -u "$work/answers" "$work/got-answers" || { cat "$work/osc.log"; failed=1; }
[ "$(grep -c 'corvane.osc: dropped an OSC datagram' "$work/osc.log")" = 3 ] || { cat "$work/osc.log"; failed=1; }
exit $failed
