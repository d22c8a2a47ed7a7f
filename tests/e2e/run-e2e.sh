#!/bin/bash
# Drives the real corvane window the way an operator does, against a
# simulated unit, and judges it by what the unit receives and answers and by
# which boxes appear.
#
# Two network namespaces made here are joined by a veth pair: the operator's
# (10.98.0.1, default route over the veth, so the limited broadcast leaves on
# it) holds Xvfb, corvane and xdotool; the unit's (10.98.0.2) holds
# corvane-unit-sim. Nothing is started in, or sends from, the machine's own
# namespace.
#
#   run-e2e.sh CASE CORVANE UNIT_SIM
#
# CASE names one of the case_* functions below. Exits 0 when the case passes,
# 1 when it fails, 77 (a skip for CTest) with the reason when this machine
# cannot host it. Logs go to ./e2e-CASE/.
# shellcheck disable=SC2015,SC2317
# (SC2015: "A && B || fail" is meant to fail when either fails; SC2317: some
# helpers are only called through wait_for.)
set -u
[ $# -eq 3 ] || { echo "usage: $0 CASE CORVANE UNIT_SIM" >&2; exit 2; }
case_name=$1 corvane=$2 unit_sim=$3

# Frames as the unit must receive them, worked out by hand from the byte values.
readonly PLAY_1="F1 01 04 31 40 50 4C 0D FF 01 1F F2"         # ID 1, "PL\r", sum 287
readonly VIDEO_OFF_1="F1 01 04 31 40 30 56 44 0D FF 01 4D F2" # ID 1, "0VD\r", sum 333
readonly VIDEO_ON_1="F1 01 04 31 40 31 56 44 0D FF 01 4E F2"  # ID 1, "1VD\r", sum 334
# Control centres in pixels, from the layout's twips (left + width / 2, top + height / 2, over 15).
declare -A centre=([TeskIDtxt]="24 89" [PlayCmd]="32 163" [VideoMuteCmd]="64 211")
readonly TITLE="Corvane V1.0.1"

skip() { echo "SKIPPED: $*"; exit 77; }
fail() { echo "FAIL [$case_name]: $*"; exit 1; }
now_ms() { echo $(($(date +%s%N) / 1000000)); }
# wait_for MS COMMAND...: polls COMMAND until it succeeds; false once MS have passed.
wait_for() {
    local deadline=$(($(now_ms) + $1))
    shift
    until "$@"; do
        (($(now_ms) < deadline)) || return 1
        sleep 0.1
    done
}

op_ns=corvane-e2e-op-$$ unit_ns=corvane-e2e-unit-$$
made_ns=() pids=() windows=() display="" work=$PWD/e2e-$case_name
in_op() { ip netns exec "$op_ns" env DISPLAY="$display" XDG_RUNTIME_DIR="$work/runtime" "$@"; }
xdo() { in_op timeout 5 xdotool "$@"; }

cleanup() {
    local status=$? pid ns log
    trap - EXIT INT TERM
    if [ "$status" -ne 0 ] && [ "$status" -ne 77 ]; then
        for log in "$work"/*.log; do [ -s "$log" ] && echo "--- $log" && tail -n 20 "$log"; done
    fi
    for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null; done
    for ns in "${made_ns[@]}"; do
        # Anything still inside was started here; a namespace with processes would linger.
        for pid in $(ip netns pids "$ns" 2>/dev/null); do kill -9 "$pid" 2>/dev/null; done
        ip netns del "$ns" || echo "warning: could not remove network namespace $ns"
    done
    exit "$status"
}
trap cleanup EXIT
# CTest runs this under `timeout`, well inside its own limit, so that the cleanup above always runs.
trap 'echo "FAIL [$case_name]: stopped by a signal"; exit 1' INT TERM

set_up() {
    [ "$(id -u)" = 0 ] || skip "making network namespaces needs root"
    local tool why
    for tool in ip Xvfb xdotool timeout; do
        command -v "$tool" >/dev/null 2>&1 || skip "'$tool' is missing (scripts/setup.sh --for-tests installs it)"
    done
    for ns in "$op_ns" "$unit_ns"; do
        why=$(ip netns add "$ns" 2>&1) || skip "cannot make a network namespace: $why"
        made_ns+=("$ns")
    done
    why=$({
        ip -n "$op_ns" link set lo up && ip -n "$unit_ns" link set lo up &&
            ip -n "$op_ns" link add e2e0 type veth peer name e2e1 netns "$unit_ns" &&
            ip -n "$op_ns" addr add 10.98.0.1/24 dev e2e0 && ip -n "$unit_ns" addr add 10.98.0.2/24 dev e2e1 &&
            ip -n "$op_ns" link set e2e0 up && ip -n "$unit_ns" link set e2e1 up &&
            ip -n "$op_ns" route add default via 10.98.0.2 dev e2e0
    } 2>&1) || skip "cannot join the namespaces with a veth pair: $why"
    # Before anything sends: the operator's namespace sees only its loopback and its veth end.
    local links
    links=$(ip -n "$op_ns" -o link show | awk -F': ' '{ sub(/@.*/, "", $2); print $2 }' | sort | tr '\n' ' ')
    [ "$links" = "e2e0 lo " ] || fail "the operator's namespace is not private: links $links"

    mkdir -p "$work/runtime" && chmod 700 "$work/runtime"
    # -displayfd picks a free display; -noreset keeps the server when its last client leaves.
    ip netns exec "$op_ns" Xvfb -displayfd 3 -noreset -nolisten tcp -screen 0 800x600x24 \
        3>"$work/display" >"$work/xvfb.log" 2>&1 &
    pids+=($!)
    wait_for 10000 test -s "$work/display" || fail "Xvfb did not start"
    display=:$(head -n 1 "$work/display")
}

# start_unit [SIM OPTIONS...]
start_unit() {
    ip netns exec "$unit_ns" "$unit_sim" --ids 1 "$@" >"$work/unit.log" 2>&1 &
    pids+=($!)
    wait_for 5000 grep -q '^ready ' "$work/unit.log" || fail "the simulated unit did not start"
}

# new_window: sets `window` to a visible program window no copy has claimed yet.
new_window() {
    local found
    for found in $(xdo search --onlyvisible --name "^$TITLE\$" 2>/dev/null); do
        [[ " ${windows[*]} " == *" $found "* ]] || { window=$found && return 0; }
    done
    return 1
}

# start_corvane NAME: starts a copy of the program; sets `pid` and `window`.
start_corvane() {
    ip netns exec "$op_ns" env -u QT_QPA_PLATFORM QT_QPA_PLATFORM=xcb DISPLAY="$display" \
        XDG_RUNTIME_DIR="$work/runtime" "$corvane" >"$work/corvane-$1.log" 2>&1 &
    pid=$!
    pids+=("$pid")
    # By title only: xdotool's --pid search, run while a window is being made,
    # breaks that program's X connection. The owner is checked once it shows.
    wait_for 10000 new_window || fail "no window titled '$TITLE' from copy '$1'"
    [ "$(xdo getwindowpid "$window")" = "$pid" ] || fail "the new window is not copy '$1''s"
    windows+=("$window")
}

# shellcheck disable=SC2086 # x and y are two words
click() { xdo mousemove --window "$window" ${centre[$1]} click 1 || fail "cannot click $1"; }
box_shown() { [ -n "$(xdo search --onlyvisible --name "^$1\$" 2>/dev/null)" ]; }
# close_box TITLE: answers the box with Return, its default button.
close_box() {
    xdo windowfocus "$(xdo search --onlyvisible --name "^$1\$" | head -n 1)" && xdo key Return ||
        fail "cannot press Return in the '$1' box"
    wait_for 3000 eval "! box_shown '$1'" || fail "the '$1' box stayed open after Return"
}
no_box_shown() {
    local title
    for title in "Data Error" "Timeout Error" "Broadcast IP Address" "SockError" "Zelosock Error"; do
        ! box_shown "$title" || fail "unexpected '$title' box"
    done
}

# What the unit saw and said, from its log.
received() { grep -c '^rx ' "$work/unit.log"; }
received_at_least() { (($(received) >= $1)); }
replies() { sed -n 's/^tx .* reply=//p' "$work/unit.log" | tr '\n' ' '; }
logged() { grep -qxF "$1" "$work/unit.log"; }
# expect_frames HEX... : exactly these frames arrive, in this order, within 10 s,
# and no more follow within SETTLE_MS (default 500).
expect_frames() {
    wait_for 10000 received_at_least $# || fail "the unit received $(received) frames, not $#"
    sleep "$(((${SETTLE_MS:-500}) / 1000)).$(printf '%03d' $((${SETTLE_MS:-500} % 1000)))"
    local got
    got=$(sed -n 's/^rx .* hex=\[\([^]]*\)\].*/\1/p' "$work/unit.log" | paste -sd,)
    [ "$got" = "$(IFS=,; echo "$*")" ] || fail "the unit received [$got]"
}

# --- the cases: each starts with the unit (options below) and one copy of the program
declare -A unit_options=([resend]="--errors 3" [resend_limit]="--errors 45" [timeout]="--silent")

# Play with the address as it starts up (the limited broadcast) reaches the unit.
case_play_broadcast() {
    click PlayCmd
    expect_frames "$PLAY_1"
    logged "rx from=10.98.0.1:1028 to=255.255.255.255 size=12 hex=[$PLAY_1] frame=command id=1 cmd=\"PL\\r\" answer=R" ||
        fail "the unit did not get Play from 10.98.0.1:1028 as a limited broadcast"
    logged "unit 1: mode stopped -> playing" || fail "the unit did not start playing"
    no_box_shown
}

# The unit's "R" to Mute Video turns the button into Unmute Video, whose press sends 1VD.
case_mute_video() {
    click VideoMuteCmd
    wait_for 5000 logged "tx to=10.98.0.1:1028 reply=R" || fail "the unit did not acknowledge Mute Video"
    sleep 0.5 # the acknowledgement reaches the window well within this
    click VideoMuteCmd
    expect_frames "$VIDEO_OFF_1" "$VIDEO_ON_1"
    logged "unit 1: video off -> on" || fail "the unit's video did not come back on"
}

# Each "E00" brings the same frame again.
case_resend() {
    click PlayCmd
    SETTLE_MS=1500 expect_frames "$PLAY_1" "$PLAY_1" "$PLAY_1" "$PLAY_1"
    [ "$(replies)" = "E00 E00 E00 R " ] || fail "the unit replied '$(replies)'"
}

# At most 41 resends follow one press, however many "E00" come back.
case_resend_limit() {
    click PlayCmd
    local frames=()
    for _ in $(seq 42); do frames+=("$PLAY_1"); done
    SETTLE_MS=2000 expect_frames "${frames[@]}"
    no_box_shown
}

# A unit that never answers brings the timeout box six seconds after the press, never sooner.
case_timeout() {
    local pressed
    pressed=$(now_ms)
    click PlayCmd
    wait_for 11000 box_shown "Timeout Error" || fail "no 'Timeout Error' box within 11 s"
    local after=$(($(now_ms) - pressed))
    ((after >= 6000 && after <= 9000)) || fail "the 'Timeout Error' box came after $after ms, not about 6000"
    expect_frames "$PLAY_1"
    close_box "Timeout Error"
}

# An empty ID is refused with a box and nothing goes on the wire; with an ID again, Play goes.
case_data_error() {
    click TeskIDtxt
    xdo key End BackSpace BackSpace BackSpace BackSpace || fail "cannot type into the ID field"
    click PlayCmd
    wait_for 3000 box_shown "Data Error" || fail "no 'Data Error' box for an empty ID"
    sleep 0.5
    [ "$(received)" -eq 0 ] || fail "a frame went out with an empty ID"
    close_box "Data Error"
    click TeskIDtxt
    xdo key 1 || fail "cannot type into the ID field"
    click PlayCmd
    expect_frames "$PLAY_1"
}

# A second copy beside the first finds 1028 taken and sends from 1029.
case_second_copy() {
    start_corvane second
    xdo windowmove "$window" 400 0 || fail "cannot move the second window"
    click PlayCmd
    expect_frames "$PLAY_1"
    grep -q "^rx from=10\.98\.0\.1:1029 " "$work/unit.log" || fail "the second copy's Play did not come from port 1029"
}

declare -F "case_$case_name" >/dev/null || { echo "unknown case '$case_name'" >&2; exit 2; }
[ -x "$corvane" ] && [ -x "$unit_sim" ] || fail "no program at $corvane or no simulator at $unit_sim"
rm -rf "$work" && mkdir -p "$work" || fail "cannot make $work"
started=$(now_ms)
set_up
# shellcheck disable=SC2086 # the options are words
start_unit ${unit_options[$case_name]:-}
start_corvane first
"case_$case_name"
echo "PASS [$case_name] in $(($(now_ms) - started)) ms"
