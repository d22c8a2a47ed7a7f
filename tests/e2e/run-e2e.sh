#!/bin/bash
# Drives the real corvane window the way an operator does, against a
# simulated unit, and judges it by what the unit receives and sends and by
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
# cannot host it. Logs, and a screenshot on failure, go to ./e2e-CASE/.
# shellcheck disable=SC2015,SC2317
# (SC2015: "A && B || fail" is meant to fail when either fails; SC2317: some
# helpers are only called through wait_for.)
set -u

if [ $# -ne 3 ]; then
    echo "usage: $0 CASE CORVANE UNIT_SIM" >&2
    exit 2
fi
case_name=$1
corvane=$2
unit_sim=$3

# Frames as the unit must receive them, worked out by hand from the byte values.
readonly PLAY_1="F1 01 04 31 40 50 4C 0D FF 01 1F F2"       # ID 1, "PL\r", sum 287
readonly VIDEO_OFF_1="F1 01 04 31 40 30 56 44 0D FF 01 4D F2" # ID 1, "0VD\r", sum 333
readonly VIDEO_ON_1="F1 01 04 31 40 31 56 44 0D FF 01 4E F2"  # ID 1, "1VD\r", sum 334

# Control positions in twips (left top width height), as src/ui/layout_table.cpp draws them.
declare -A layout=(
    [TeskIDtxt]="120 1200 495 285"
    [PlayCmd]="120 2280 735 330"
    [VideoMuteCmd]="120 3000 1695 330"
)
readonly WINDOW_TITLE="Corvane V1.0.1"

skip() {
    echo "SKIPPED: $*"
    exit 77
}
fail() {
    echo "FAIL [$case_name]: $*"
    exit 1
}
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

# --- the two namespaces and everything in them ------------------------------

op_ns=corvane-e2e-op-$$
unit_ns=corvane-e2e-unit-$$
made_ns=()
pids=()
windows=() # program windows already claimed by a copy
corvane_pid=""
corvane_window=""
display=""
work=$PWD/e2e-$case_name

in_op() { ip netns exec "$op_ns" env DISPLAY="$display" XDG_RUNTIME_DIR="$work/runtime" "$@"; }
xdo() { in_op timeout 5 xdotool "$@"; }

screenshot() {
    [ -n "$display" ] && command -v import >/dev/null 2>&1 &&
        in_op timeout 10 import -window root "$work/screen-$1.png" 2>/dev/null
}

cleanup() {
    local status=$?
    trap - EXIT INT TERM
    if [ "$status" -ne 0 ] && [ "$status" -ne 77 ] && [ -d "$work" ]; then
        screenshot failure && echo "screenshot: $work/screen-failure.png"
        for log in "$work"/*.log; do
            [ -s "$log" ] || continue
            echo "--- $log (last 30 lines)"
            tail -n 30 "$log"
        done
    fi
    local pid
    for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null; done
    for pid in "${pids[@]}"; do
        wait_for 3000 eval "! kill -0 $pid 2>/dev/null" || kill -9 "$pid" 2>/dev/null
    done
    local ns
    for ns in "${made_ns[@]}"; do
        # Anything still inside was started here; a namespace with processes would linger.
        for pid in $(ip netns pids "$ns" 2>/dev/null); do kill -9 "$pid" 2>/dev/null; done
        ip netns del "$ns" || echo "warning: could not remove network namespace $ns"
    done
    exit "$status"
}
trap cleanup EXIT
trap 'echo "FAIL [$case_name]: stopped by a signal"; exit 1' INT TERM

# Every wait is bounded; this bounds them all together, well inside CTest's
# timeout, so that the cleanup above always runs.
# Stopping the watchdog stops its sleep too, so nothing outlives the script.
watchdog_budget_s=50
(
    trap 'kill "$sleeper" 2>/dev/null; exit 0' TERM
    sleep "$watchdog_budget_s" &
    sleeper=$!
    wait "$sleeper" && kill -TERM $$
) >/dev/null 2>&1 &
pids+=($!)

set_up_network() {
    [ "$(id -u)" = 0 ] || skip "making network namespaces needs root"
    local tool
    for tool in ip ss Xvfb xdotool timeout; do
        command -v "$tool" >/dev/null 2>&1 || skip "'$tool' is missing (scripts/setup.sh --for-tests installs it)"
    done
    local why
    why=$(ip netns add "$op_ns" 2>&1) || skip "cannot make a network namespace: $why"
    made_ns+=("$op_ns")
    why=$(ip netns add "$unit_ns" 2>&1) || skip "cannot make a network namespace: $why"
    made_ns+=("$unit_ns")
    why=$({
        ip -n "$op_ns" link set lo up &&
            ip -n "$unit_ns" link set lo up &&
            ip -n "$op_ns" link add e2e0 type veth peer name e2e1 netns "$unit_ns" &&
            ip -n "$op_ns" addr add 10.98.0.1/24 dev e2e0 &&
            ip -n "$unit_ns" addr add 10.98.0.2/24 dev e2e1 &&
            ip -n "$op_ns" link set e2e0 up &&
            ip -n "$unit_ns" link set e2e1 up &&
            ip -n "$op_ns" route add default via 10.98.0.2 dev e2e0
    } 2>&1) || skip "cannot join the namespaces with a veth pair: $why"

    # Before anything sends: the operator's namespace sees only its loopback and its veth end.
    local links
    links=$(ip -n "$op_ns" -o link show | awk -F': ' '{ sub(/@.*/, "", $2); print $2 }' | sort | tr '\n' ' ')
    [ "$links" = "e2e0 lo " ] || fail "the operator's namespace is not private: links $links"
    wait_for 5000 eval "ip -n $op_ns -o link show e2e0 | grep -q 'state UP'" || fail "the veth pair never came up"
}

start_display() {
    mkdir -p "$work/runtime" && chmod 700 "$work/runtime"
    # -displayfd picks a free display, so parallel runs never collide. Without
    # -noreset the server starts over whenever its last client leaves, which
    # breaks a program that is connecting just then while xdotool polls.
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
    for found in $(xdo search --onlyvisible --name "^$WINDOW_TITLE\$" 2>/dev/null); do
        [[ " ${windows[*]} " == *" $found "* ]] || {
            window=$found
            return 0
        }
    done
    return 1
}

# start_corvane NAME: starts a copy of the program; sets corvane_pid and corvane_window.
start_corvane() {
    # Started directly, not through in_op: a backgrounded function would leave
    # $! naming a subshell instead of the program.
    ip netns exec "$op_ns" env -u QT_QPA_PLATFORM QT_QPA_PLATFORM=xcb DISPLAY="$display" \
        XDG_RUNTIME_DIR="$work/runtime" "$corvane" >"$work/corvane-$1.log" 2>&1 &
    local pid=$!
    pids+=("$pid")
    window=""
    # By title only: xdotool's --pid search, run while a window is being made,
    # breaks that program's X connection. The owner is checked once it shows.
    wait_for 10000 new_window || fail "no window titled '$WINDOW_TITLE' from copy '$1'"
    [ "$(xdo getwindowpid "$window")" = "$pid" ] || fail "the new '$WINDOW_TITLE' window is not copy '$1''s"
    windows+=("$window")
    local size
    size=$(xdo getwindowgeometry "$window" | awk '/Geometry:/ { print $2 }')
    [ "$size" = "297x291" ] || fail "window of copy '$1' is $size, not 297x291"
    corvane_pid=$pid
    corvane_window=$window
}

# click WINDOW CONTROL: a left click in the middle of the control.
click() {
    local left top width height
    read -r left top width height <<<"${layout[$2]}"
    xdo mousemove --window "$1" $(((left + width / 2) / 15)) $(((top + height / 2) / 15)) click 1 ||
        fail "cannot click $2"
}

box_shown() { [ -n "$(xdo search --onlyvisible --name "^$1\$" 2>/dev/null)" ]; }
# close_box TITLE: answers the box with Return, as its default button.
close_box() {
    local box
    box=$(xdo search --onlyvisible --name "^$1\$" 2>/dev/null | head -n 1)
    [ -n "$box" ] || fail "no '$1' box to close"
    xdo windowfocus "$box" && xdo key Return || fail "cannot press Return in the '$1' box"
    wait_for 3000 eval "! box_shown '$1'" || fail "the '$1' box stayed open after Return"
}
no_box_shown() {
    local title
    for title in "Data Error" "Timeout Error" "Broadcast IP Address" "SockError" "Zelosock Error"; do
        ! box_shown "$title" || fail "unexpected '$title' box"
    done
}

# What the unit saw and said, from its log.
frames_received() { grep -c '^rx ' "$work/unit.log"; }
frames_with() { grep -cF "hex=[$1]" "$work/unit.log"; }
# at_least N COMMAND...: COMMAND prints a number of at least N.
at_least() {
    local want=$1
    shift
    (($("$@") >= want))
}
replies_sent() { sed -n 's/^tx .* reply=//p' "$work/unit.log" | tr '\n' ' '; }
logged() { grep -qxF "$1" "$work/unit.log"; }

# port_held_by PORT PID: that process has that UDP port bound on all addresses.
port_held_by() { in_op ss -Hulnp "sport = :$1" | grep -F "0.0.0.0:$1 " | grep -qF "pid=$2,"; }

# expect_frames COUNT HEX WITHIN_MS SETTLE_MS: exactly COUNT frames arrive, all
# equal to HEX, and no more follow within SETTLE_MS.
expect_frames() {
    wait_for "$3" at_least "$1" frames_received || fail "the unit received $(frames_received) frames, not $1"
    sleep "$(($4 / 1000)).$(printf '%03d' $(($4 % 1000)))"
    [ "$(frames_received)" -eq "$1" ] || fail "the unit received $(frames_received) frames, not $1"
    [ "$(frames_with "$2")" -eq "$1" ] || fail "not every frame the unit received was $2"
}

# --- the cases --------------------------------------------------------------
# Each starts with the unit simulated (with the options below) and one copy
# of the program, whose window is $corvane_window.
declare -A unit_options=([resend]="--errors 3" [resend_limit]="--errors 45" [timeout]="--silent")

# Play with the address as it starts up (the limited broadcast) reaches the unit.
case_play_broadcast() {
    click "$corvane_window" PlayCmd
    expect_frames 1 "$PLAY_1" 5000 500
    logged "rx from=10.98.0.1:1028 to=255.255.255.255 size=12 hex=[$PLAY_1] frame=command id=1 cmd=\"PL\\r\" answer=R" ||
        fail "the unit did not get Play from 10.98.0.1:1028 as a limited broadcast"
    logged "unit 1: mode stopped -> playing" || fail "the unit did not start playing"
    [ "$(replies_sent)" = "R " ] || fail "the unit replied '$(replies_sent)', not 'R'"
    no_box_shown
}

# The unit's "R" to Mute Video turns the button into Unmute Video.
case_mute_video() {
    click "$corvane_window" VideoMuteCmd
    expect_frames 1 "$VIDEO_OFF_1" 5000 0
    wait_for 2000 logged "tx to=10.98.0.1:1028 reply=R" || fail "the unit did not acknowledge Mute Video"
    sleep 0.5 # the acknowledgement reaches the window well within this
    click "$corvane_window" VideoMuteCmd
    wait_for 5000 at_least 2 frames_received || fail "the second press sent nothing"
    sleep 0.3
    [ "$(frames_with "$VIDEO_OFF_1")" -eq 1 ] && [ "$(frames_with "$VIDEO_ON_1")" -eq 1 ] &&
        [ "$(frames_received)" -eq 2 ] || fail "the second press did not send exactly one 1VD"
    logged "unit 1: video off -> on" || fail "the unit's video did not come back on"
    no_box_shown
}

# Each "E00" brings the same frame again.
case_resend() {
    click "$corvane_window" PlayCmd
    expect_frames 4 "$PLAY_1" 5000 1500
    [ "$(replies_sent)" = "E00 E00 E00 R " ] || fail "the unit replied '$(replies_sent)'"
    no_box_shown
}

# At most 41 resends follow one press, however many "E00" come back.
case_resend_limit() {
    click "$corvane_window" PlayCmd
    expect_frames 42 "$PLAY_1" 10000 2000
    no_box_shown
}

# A unit that never answers brings the timeout box after about six seconds.
case_timeout() {
    local pressed
    pressed=$(now_ms)
    click "$corvane_window" PlayCmd
    wait_for 11000 box_shown "Timeout Error" || fail "no 'Timeout Error' box within 11 s"
    local after=$(($(now_ms) - pressed))
    # Qt's default (coarse) timers may fire up to 5% early: 5700 ms at the soonest.
    ((after >= 5500 && after <= 9000)) || fail "the 'Timeout Error' box came after $after ms, not about 6000"
    echo "Timeout Error box after $after ms"
    [ "$(frames_received)" -eq 1 ] && [ "$(frames_with "$PLAY_1")" -eq 1 ] ||
        fail "the unit did not receive exactly the one Play frame"
    close_box "Timeout Error"
}

# An empty ID is refused with a box, and nothing goes on the wire.
case_data_error() {
    click "$corvane_window" TeskIDtxt
    xdo key End BackSpace BackSpace BackSpace BackSpace || fail "cannot type into the ID field"
    click "$corvane_window" PlayCmd
    wait_for 3000 box_shown "Data Error" || fail "no 'Data Error' box for an empty ID"
    sleep 0.5
    [ "$(frames_received)" -eq 0 ] || fail "a frame went out with an empty ID"
    close_box "Data Error"

    # The same window with an ID again does send, so the silence above was the check's doing.
    click "$corvane_window" TeskIDtxt
    xdo key 1 || fail "cannot type into the ID field"
    click "$corvane_window" PlayCmd
    expect_frames 1 "$PLAY_1" 5000 300
    no_box_shown
}

# A second copy beside the first finds 1028 taken and binds 1029.
case_second_copy() {
    local first_pid=$corvane_pid
    start_corvane second
    wait_for 3000 port_held_by 1028 "$first_pid" && wait_for 3000 port_held_by 1029 "$corvane_pid" ||
        fail "not 1028 for the first copy and 1029 for the second: $(in_op ss -Hulnp | tr '\n' ';')"
    xdo windowmove "$corvane_window" 400 0 || fail "cannot move the second window"
    click "$corvane_window" PlayCmd
    expect_frames 1 "$PLAY_1" 5000 300
    grep -q "^rx from=10\.98\.0\.1:1029 " "$work/unit.log" || fail "the second copy's Play did not come from port 1029"
}

# --- run one ----------------------------------------------------------------

declare -F "case_$case_name" >/dev/null || {
    echo "unknown case '$case_name'" >&2
    exit 2
}
[ -x "$corvane" ] || fail "no program at $corvane"
[ -x "$unit_sim" ] || fail "no simulator at $unit_sim"
rm -rf "$work" && mkdir -p "$work" || fail "cannot make $work"

started=$(now_ms)
set_up_network
start_display
# shellcheck disable=SC2086 # the options are words
start_unit ${unit_options[$case_name]:-}
start_corvane first
"case_$case_name"
echo "PASS [$case_name] in $(($(now_ms) - started)) ms"
