#!/bin/sh
# SPDX-License-Identifier: MIT
# Runs a command with a Wine prefix of its own, inside the private network
# namespace it must already be in (run it through private-network.sh):
#   wine-session.sh COMMAND...   (wine-session.sh wine64 prog.exe: one program)
#   wine-session.sh --qtest tst.exe [ARGS...]   (a Qt Test program, its report shown)
#   wine-session.sh --display COMMAND...   (with an X display of its own and a
#       window manager, as every Windows desktop has: DISPLAY is set)
# Wine makes its sockets in the prefix's wineserver, in the namespace where
# that server started. So the server of this prefix starts here (wineboot
# included), every Windows program of COMMAND shares it, and it is ended
# before the namespace goes. The prefix is a copy of a template made once the
# same way (CORVANE_WINE_TEMPLATE, by default beside the system's temporary
# files), which spares each run the half minute wineboot takes.
# Inside COMMAND, "wine64" is on PATH; the prefix is removed afterwards.
set -u

[ "${CORVANE_PRIVATE_NETWORK:-}" = inside ] ||
    { echo "wine-session.sh: refusing to start Wine outside a private network namespace" >&2; exit 1; }
wine_dir=/usr/lib/wine
[ -x "$wine_dir/wine64" ] || { echo "SKIPPED: Wine is missing (apt-get install wine64)"; exit 77; }

# No display unless the caller gives one: the programs run offscreen then.
# Nothing may reach for the Internet: no Mono or Gecko installers.
export WINEDLLOVERRIDES="mscoree,mshtml=;${WINEDLLOVERRIDES:-}" WINEDEBUG=${WINEDEBUG:--all} WINEARCH=win64 \
    PATH="$wine_dir:$PATH"
wineserver=$wine_dir/wineserver

template=${CORVANE_WINE_TEMPLATE:-${TMPDIR:-/tmp}/corvane-wine-template-$(id -u)-$("$wine_dir/wine64" --version)}
(
    flock 9
    if [ ! -f "$template/.complete" ]; then
        rm -rf "$template"
        WINEPREFIX=$template DISPLAY= wine64 wineboot --init >/dev/null 2>&1
        WINEPREFIX=$template "$wineserver" -w
        touch "$template/.complete"
    fi
) 9>"$template.lock"

export WINEPREFIX="$(mktemp -d "${TMPDIR:-/tmp}/corvane-wine.XXXXXX")"
cp -a "$template/." "$WINEPREFIX/"
command="" xserver="" window_manager=""
end() {
    [ -z "$command" ] || kill "$command" 2>/dev/null
    "$wineserver" -k 2>/dev/null
    "$wineserver" -w 2>/dev/null
    kill $window_manager $xserver 2>/dev/null
    rm -rf "$WINEPREFIX"
}
trap end EXIT
# Stopped from outside, it still ends the server and removes the prefix.
trap 'exit 130' INT TERM
# The display comes first: Wine's desktop, started with the server, keeps
# the display it found then.
if [ "$1" = --display ]; then
    shift
    type Xvfb openbox >/dev/null || { echo "SKIPPED: needs Xvfb and openbox"; exit 77; }
    Xvfb -displayfd 3 -nolisten tcp -screen 0 800x600x24 3>"$WINEPREFIX/display" 2>/dev/null &
    xserver=$!
    for _ in $(seq 100); do [ -s "$WINEPREFIX/display" ] && break; sleep 0.1; done
    DISPLAY=:$(head -n 1 "$WINEPREFIX/display")
    export DISPLAY
    openbox >/dev/null 2>&1 &
    window_manager=$!
fi
# The server starts now, in this namespace, and stays until the end (or
# half a minute after its last program, should this script be killed).
"$wineserver" -p30
wine64 wineboot >/dev/null 2>&1
# Wine hands no QT_* variable of Linux to Windows programs; the caller's are
# put in the prefix's user environment instead, which every program gets.
if env | grep -q '^QT_'; then
    printf 'REGEDIT4\n\n[HKEY_CURRENT_USER\\Environment]\n%s\n' \
        "$(env | sed -n 's/[\\"]/\\&/g; s/^\(QT_[A-Za-z0-9_]*\)=\(.*\)$/"\1"="\2"/p')" >"$WINEPREFIX/qt-environment.reg"
    wine64 regedit /S "$WINEPREFIX/qt-environment.reg"
fi
# A Qt Test program under Wine has no console, so its report would go to
# the debugger: --qtest has it written to a file and shows that.
if [ "$1" = --qtest ]; then
    shift
    report=$WINEPREFIX/report.txt
    set -- wine64 "$@" -o "$report,txt"
fi
# In the background, so that a signal reaches the traps above at once.
"$@" &
command=$!
wait "$command"
status=$? command=""
[ -z "${report:-}" ] || cat "$report"
exit "$status"
