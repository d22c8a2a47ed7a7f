#!/bin/bash
# SPDX-License-Identifier: MIT
# Drives the real corvane window the way an operator does, against a
# simulated unit, and judges it by what the unit receives and answers and by
# which boxes appear. Two network namespaces made here are joined by a veth
# pair: the operator's (10.98.0.1, default route over the veth, so the limited
# broadcast leaves on it) holds Xvfb, corvane and xdotool; the unit's
# (10.98.0.2) holds corvane-unit-sim. Nothing runs in the machine's own.
#
#   run-e2e.sh CASE CORVANE UNIT_SIM
#
# With CORVANE_E2E_WINE set to tests/support/wine-session.sh, CORVANE and
# UNIT_SIM are the Windows programs: each runs under Wine with a prefix of
# its own whose server starts in the program's namespace, and the operator's
# display gets a window manager, as every Windows desktop has.
#
# Exits 0 when the case passes, 1 when it fails, 77 (a skip for CTest) with the
# reason when this machine cannot host it. Logs go to ./e2e-CASE/.
# shellcheck disable=SC2015 # "A && B || fail" is meant to fail when either fails
set -u
[ $# -eq 3 ] || { echo "usage: $0 CASE CORVANE UNIT_SIM" >&2; exit 2; }
case_name=$1 corvane=$2 unit_sim=$3

# Frames as the unit must receive them, worked out by hand from the byte values.
readonly PLAY_1="F1 01 04 31 40 50 4C 0D FF 01 1F F2"         # ID 1, "PL\r", sum 287
readonly VIDEO_OFF_1="F1 01 04 31 40 30 56 44 0D FF 01 4D F2" # ID 1, "0VD\r", sum 333
readonly VIDEO_ON_1="F1 01 04 31 40 31 56 44 0D FF 01 4E F2"  # ID 1, "1VD\r", sum 334
# Control centres in pixels, from the layout's twips (left + width / 2, top + height / 2, over 15).
declare -A centre=([playButton]="32 163" [videoMuteButton]="64 211")
readonly TITLE="Corvane V1.0.1"

skip() { echo "SKIPPED: $*"; exit 77; }
fail() { echo "FAIL [$case_name]: $*"; exit 1; }
now_ms() { echo $(($(date +%s%N) / 1000000)); }
# wait_for MS COMMAND...: polls COMMAND until it succeeds; false once MS have passed.
wait_for() {
    local deadline=$(($(now_ms) + $1))
    shift
    until "$@"; do (($(now_ms) < deadline)) && sleep 0.1 || return 1; done
}

wine=${CORVANE_E2E_WINE:-}
# How a program is started in a namespace, and how long it may take to come up.
launch=() platform=xcb startup_ms=10000
[ -z "$wine" ] || launch=(env CORVANE_PRIVATE_NETWORK=inside "$wine" wine64) platform=windows startup_ms=40000
op_ns=corvane-e2e-op-$$ unit_ns=corvane-e2e-unit-$$ work=$PWD/e2e-$case_name pids=() display=""
xdo() { ip netns exec "$op_ns" env DISPLAY="$display" timeout 5 xdotool "$@"; }
cleanup() {
    local status=$? pid ns
    trap - EXIT INT TERM
    [ "$status" = 0 ] || [ "$status" = 77 ] || tail -n 20 "$work"/*.log
    kill "${pids[@]}" 2>/dev/null
    # Time for each to end on its own: a Wine session ends its server and removes its prefix.
    for pid in "${pids[@]}"; do wait_for 10000 eval "! kill -0 $pid 2>/dev/null"; done
    for ns in "$op_ns" "$unit_ns"; do
        # Anything still inside was started here; a namespace with processes would linger.
        for pid in $(ip netns pids "$ns" 2>/dev/null); do kill -9 "$pid" 2>/dev/null; done
        ip netns del "$ns" 2>/dev/null
    done
    exit "$status"
}
trap cleanup EXIT
# CTest runs this under `timeout`, well inside its own limit, so that the cleanup above always runs.
trap 'fail "stopped by a signal"' INT TERM

[ "$(id -u)" = 0 ] || skip "making network namespaces needs root"
type -P ip Xvfb xdotool timeout ${wine:+openbox} >/dev/null || skip "needs ip, Xvfb, xdotool, timeout (and openbox for Wine)"
rm -rf "$work" && mkdir -p "$work/runtime" && chmod 700 "$work/runtime" || fail "cannot make $work"
why=$({
    ip netns add "$op_ns" && ip netns add "$unit_ns" &&
        ip -n "$op_ns" link set lo up && ip -n "$unit_ns" link set lo up &&
        ip -n "$op_ns" link add e2e0 type veth peer name e2e1 netns "$unit_ns" &&
        ip -n "$op_ns" addr add 10.98.0.1/24 dev e2e0 && ip -n "$unit_ns" addr add 10.98.0.2/24 dev e2e1 &&
        ip -n "$op_ns" link set e2e0 up && ip -n "$unit_ns" link set e2e1 up &&
        ip -n "$op_ns" route add default via 10.98.0.2 dev e2e0
} 2>&1) || skip "cannot make two network namespaces joined by a veth pair: $why"
# Before anything sends: the operator's namespace sees only its loopback and its veth end.
[ "$(ip -n "$op_ns" -o link show | awk -F'[:@] *' '{ print $2 }' | sort | paste -sd' ')" = "e2e0 lo" ] ||
    fail "the operator's namespace is not private"
# -displayfd picks a free display; -noreset keeps the server when its last client leaves.
ip netns exec "$op_ns" Xvfb -displayfd 3 -noreset -nolisten tcp -screen 0 800x600x24 3>"$work/display" \
    >"$work/xvfb.log" 2>&1 &
pids+=($!)
wait_for 10000 test -s "$work/display" || fail "Xvfb did not start"
display=:$(head -n 1 "$work/display")
[ -z "$wine" ] || { ip netns exec "$op_ns" env DISPLAY="$display" openbox >"$work/openbox.log" 2>&1 & pids+=($!); }

# shellcheck disable=SC2086 # x and y are two words
click() { xdo mousemove --window "$window" ${centre[$1]} click 1 || fail "cannot click $1"; }
no_box_shown() { [ -z "$(xdo search --onlyvisible --name '^(Data Error|Timeout Error|Broadcast IP Address|SockError|Zelosock Error)$')" ] || fail "a box is shown"; }
# What the unit saw and said, from its log (a Windows unit ends its lines with CR LF).
unit_log() { tr -d '\r' <"$work/unit.log"; }
received() { unit_log | grep -c '^rx '; }
logged() { unit_log | grep -qxF "$1"; }
# expect_frames SECONDS HEX...: exactly these frames arrive, in order, within 10 s, and no more in SECONDS.
expect_frames() {
    local settle=$1 got
    shift
    wait_for 10000 eval "((\$(received) >= $#))" || fail "the unit received $(received) frames, not $#"
    sleep "$settle"
    got=$(unit_log | sed -n 's/^rx .* hex=\[\([^]]*\)\].*/\1/p' | paste -sd,)
    [ "$got" = "$(IFS=,; echo "$*")" ] || fail "the unit received [$got]"
}

ip netns exec "$unit_ns" "${launch[@]}" "$unit_sim" --ids 1 >"$work/unit.log" 2>&1 &
pids+=($!)
wait_for "$startup_ms" grep -qs '^ready ' "$work/unit.log" || fail "the simulated unit did not start"
# The window, found by its title only: xdotool's --pid search, run while a window is being made, breaks
# its X connection.
ip netns exec "$op_ns" env QT_QPA_PLATFORM=$platform DISPLAY="$display" XDG_RUNTIME_DIR="$work/runtime" \
    "${launch[@]}" "$corvane" >"$work/corvane.log" 2>&1 &
pids+=($!)
find_window() { window=$(xdo search --onlyvisible --name "^$TITLE\$" 2>/dev/null | head -n 1) && [ -n "$window" ]; }
wait_for "$startup_ms" find_window || fail "no window titled '$TITLE'"
pressed=$(now_ms)
case $case_name in
play_broadcast) # Play with the address as it starts up (the limited broadcast) reaches the unit.
    click playButton
    expect_frames 0.5 "$PLAY_1"
    logged "rx from=10.98.0.1:1028 to=255.255.255.255 size=12 hex=[$PLAY_1] frame=command id=1 cmd=\"PL\\r\" answer=R" &&
        logged "unit 1: mode stopped -> playing" || fail "the unit did not get Play from 10.98.0.1:1028 as a broadcast"
    no_box_shown ;;
mute_video) # The unit's "R" to Mute Video turns the button into Unmute Video, whose press sends 1VD.
    click videoMuteButton
    wait_for 5000 logged "tx to=10.98.0.1:1028 reply=R" || fail "the unit did not acknowledge Mute Video"
    sleep 0.5 # the acknowledgement reaches the window well within this
    click videoMuteButton
    expect_frames 0.5 "$VIDEO_OFF_1" "$VIDEO_ON_1"
    logged "unit 1: video off -> on" || fail "the unit's video did not come back on" ;;
*) echo "unknown case '$case_name'" >&2 && exit 2 ;;
esac
echo "PASS [$case_name] in $(($(now_ms) - pressed)) ms"
