#!/bin/bash
# SPDX-License-Identifier: MIT
# The dissector read by Debian's tshark, on traffic captured inside a private
# network namespace (run it through tests/support/private-network.sh):
# corvane-send's commands broadcast on the veth, the simulated unit's replies
# on lo, and damaged frames sent by hand. Bash, for its /dev/udp.
# Usage: dissector.sh TESK2_LUA CORVANE_SEND CORVANE_UNIT_SIM
set -u
lua=$1 send=$2 sim=$3
type -P dumpcap tshark >/dev/null || { echo "SKIPPED: needs dumpcap and tshark (apt-get install tshark)"; exit 77; }
work=$(mktemp -d)
trap 'kill $(jobs -p) 2>/dev/null; rm -rf "$work"' EXIT

"$sim" --ids 1 >"$work/sim.log" &
filter="udp port 2639"
dumpcap -q -i corvane0 -f "$filter" -i lo -f "$filter" -w "$work/capture.pcapng" 2>"$work/dumpcap.log" &
capture=$!
for _ in $(seq 50); do grep -q '^Capturing' "$work/dumpcap.log" && grep -q '^ready' "$work/sim.log" && break; sleep 0.1; done
sleep 0.5 # dumpcap says it is capturing a moment before it sees the first packets

"$send" play >/dev/null && "$send" select 00012 >/dev/null || echo "corvane-send failed"
# Play for unit 1 with a checksum one too high, then with a checksum field one byte short.
printf '\361\001\004\061\100\120\114\015\377\001\040\362' >/dev/udp/127.0.0.1/2639
printf '\361\001\004\061\100\120\114\015\377\001\362' >/dev/udp/127.0.0.1/2639
sleep 0.5
kill "$capture" && wait "$capture"

tshark -r "$work/capture.pcapng" -X lua_script:"$lua" -Y tesk2 -T fields -E separator='|' -e tesk2.unit_id \
    -e tesk2.command -e tesk2.checksum -e tesk2.checksum_good -e tesk2.reply -e _ws.expert.group \
    2>"$work/tshark.log" | LC_ALL=C sort >"$work/fields"
# Two interfaces are captured, so packets are compared as a sorted set: the
# four commands (sums worked by hand), the four replies. 117440512 is
# 0x07000000, Wireshark's group of malformed-packet items.
diff -u - "$work/fields" <<'FIELDS' || { cat "$work/tshark.log" "$work/dumpcap.log"; exit 1; }
1|00012SE|526|1||
1|PL|287|1||
1|PL|288|0||117440512
1|PL||||117440512
||||E00|
||||E00|
||||R|
||||R|
FIELDS
