#!/bin/bash
# SPDX-License-Identifier: MIT
# The dissector read by Debian's tshark. First the frames of the table shared
# with the simulator's test, written into a capture file by text2pcap: each
# must carry the expert item, or none, that names what a unit makes of it.
# Then traffic captured inside a private network namespace (run it through
# tests/support/private-network.sh): corvane-send's commands broadcast on the
# veth, the simulated unit's replies on lo. Bash, for its process substitution.
# Usage: dissector.sh TESK2_LUA FRAME_VERDICTS CORVANE_SEND CORVANE_UNIT_SIM
set -u
lua=$1 table=$2 send=$3 sim=$4
type -P dumpcap tshark text2pcap >/dev/null ||
    { echo "SKIPPED: needs dumpcap, tshark and text2pcap (apt-get install tshark)"; exit 77; }
work=$(mktemp -d)
trap 'kill $(jobs -p) 2>/dev/null; rm -rf "$work"' EXIT
failed=0

# One packet a row, from port 1028 to the unit's port; the verdict back from the expert item's words.
grep -v '^#' "$table" | cut -d'|' -f2 | sed 's/^ */000000 /' >"$work/frames.txt"
text2pcap -q -u 1028,2639 "$work/frames.txt" "$work/frames.pcap" || exit 1
tshark -r "$work/frames.pcap" -X lua_script:"$lua" -T fields -e _ws.expert.message 2>"$work/tshark.log" |
    sed -E 's/^Damaged frame \(([a-z-]+)\):.*/damaged(\1)/; s/^Not a frame \(([a-z-]+)\):.*/not-a-frame(\1)/; s/^$/command/' \
        >"$work/verdicts"
diff -u <(grep -v '^#' "$table" | cut -d'|' -f1 | sed 's/ *$//') "$work/verdicts" ||
    { echo "FAIL: the dissector's verdicts (+) against the table's (-), row by row"; cat "$work/tshark.log"; failed=1; }

"$sim" --ids 1 >"$work/sim.log" &
filter="udp port 2639"
dumpcap -q -i corvane0 -f "$filter" -i lo -f "$filter" -w "$work/capture.pcapng" 2>"$work/dumpcap.log" &
capture=$!
for _ in $(seq 50); do grep -q '^Capturing' "$work/dumpcap.log" && grep -q '^ready' "$work/sim.log" && break; sleep 0.1; done
sleep 0.5 # dumpcap says it is capturing a moment before it sees the first packets

"$send" play >/dev/null && "$send" select 00012 >/dev/null || echo "corvane-send failed"
sleep 0.5
kill "$capture" && wait "$capture"

tshark -r "$work/capture.pcapng" -X lua_script:"$lua" -Y tesk2 -T fields -E separator='|' -e tesk2.unit_id \
    -e tesk2.command -e tesk2.checksum -e tesk2.checksum_good -e tesk2.reply -e _ws.expert.group \
    2>"$work/tshark.log" | LC_ALL=C sort >"$work/fields"
# Two interfaces are captured, so packets are compared as a sorted set: the
# two commands (sums worked by hand), the two replies.
diff -u - "$work/fields" <<'FIELDS' || { cat "$work/tshark.log" "$work/dumpcap.log"; failed=1; }
1|00012SE|526|1||
1|PL|287|1||
||||R|
||||R|
FIELDS
exit "$failed"
