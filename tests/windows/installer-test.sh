#!/bin/sh
# SPDX-License-Identifier: MIT
# The installer under Wine: a silent install with the tools puts every file,
# the Start menu entry and the uninstall entry in place; the installed window
# starts; a silent uninstall leaves no file, entry or key behind. Run
# through private-network.sh and wine-session.sh --display, which give the
# test a Wine prefix and a display of its own.
# Usage: installer-test.sh SETUP_EXE VERSION PROGRAM...
set -u
setup=$1 version=$2
shift 2
type xdotool >/dev/null || { echo "SKIPPED: needs xdotool"; exit 77; }
work=$(mktemp -d)
drive=$WINEPREFIX/drive_c
folder="$drive/Program Files/Corvane"
shortcut="$drive/ProgramData/Microsoft/Windows/Start Menu/Programs/Corvane.lnk"
key='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\Corvane'
failed=0
fail() { echo "FAIL: $*"; failed=1; }
# Every file and folder on drive C: but Windows' own and the temporary ones.
files() { (cd "$drive" && find . -path ./windows -prune -o -path '*/Temp' -prune -o -print | sort); }
trap 'rm -rf "$work"' EXIT

files >"$work/before"
wine64 "$setup" /S /TOOLS || fail "the silent install ended with status $?"
for file in "$@" LICENSE.txt Uninstall.exe licences/THIRD-PARTY.txt licences/LGPL-3.txt licences/Qt-copyright.txt; do
    [ -f "$folder/$file" ] || fail "not installed: $file"
done
[ -f "$shortcut" ] || fail "no Start menu entry"
wine64 reg query "$key" /v DisplayVersion 2>/dev/null | grep -q "REG_SZ *$version" || fail "no uninstall entry for $version"

wine64 "C:\\Program Files\\Corvane\\corvane.exe" >"$work/corvane.log" 2>&1 &
corvane=$!
for _ in $(seq 300); do
    window=$(xdotool search --onlyvisible --name "^Corvane V$version\$" 2>/dev/null | head -n 1)
    [ -n "$window" ] && break
    sleep 0.1
done
[ -n "$window" ] || fail "the installed corvane.exe showed no window"
# Closed as a user does, with Alt+F4.
[ -z "$window" ] || xdotool windowactivate --sync "$window" key alt+F4
wait "$corvane" || fail "the installed corvane.exe ended with status $?"

wine64 "C:\\Program Files\\Corvane\\Uninstall.exe" /S || fail "the silent uninstall ended with status $?"
# The uninstaller runs on from a copy of itself, so its work is awaited.
for _ in $(seq 300); do [ -e "$folder" ] || break; sleep 0.1; done
files >"$work/after"
diff "$work/before" "$work/after" >"$work/left" || { fail "the uninstall left files behind:"; cat "$work/left"; }
! wine64 reg query "$key" >/dev/null 2>&1 || fail "the uninstall left its registry key"
[ "$failed" = 0 ] && echo "installed, started and uninstalled cleanly"
exit "$failed"
