#!/bin/sh
# SPDX-License-Identifier: MIT
# The installer under Wine: a silent install with the tools puts every file,
# the Start menu entry and the uninstall entry in place; the installed window
# starts, and, having no console, refuses an argument in a message box (exit
# status 2 once it is closed); a silent uninstall leaves no file, entry or key
# behind. Run
# through private-network.sh and wine-session.sh --display, which give the
# test a Wine prefix and a display of its own.
# Usage: installer-test.sh SETUP_EXE VERSION PROGRAM...
set -u
setup=$1 version=$2
shift 2
type xdotool >/dev/null || { echo "SKIPPED: needs xdotool"; exit 77; }
drive=$WINEPREFIX/drive_c
folder="$drive/Program Files/Corvane"
key='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\Corvane'
failed=0
fail() { echo "FAIL: $*"; failed=1; }
# Every file and folder on drive C: but Windows' own and the temporary ones.
files() { (cd "$drive" && find . -path ./windows -prune -o -path '*/Temp' -prune -o -print | sort); }

files >"$WINEPREFIX/before"
wine64 "$setup" /S /TOOLS || fail "the silent install ended with status $?"
for file in "$@" LICENSE.txt Uninstall.exe licences/THIRD-PARTY.txt licences/LGPL-3.txt licences/Qt-copyright.txt; do
    [ -f "$folder/$file" ] || fail "not installed: $file"
done
[ -f "$drive/ProgramData/Microsoft/Windows/Start Menu/Programs/Corvane.lnk" ] || fail "no Start menu entry"
wine64 reg query "$key" /v DisplayVersion 2>/dev/null | grep -q "REG_SZ *$version" || fail "no uninstall entry for $version"

# shown TITLE KEY: once a window so titled shows, answers it with KEY; false if none shows.
shown() {
    for _ in $(seq 300); do
        window=$(xdotool search --onlyvisible --name "^$1\$" 2>/dev/null | head -n 1)
        [ -z "$window" ] || { xdotool windowactivate --sync "$window" key "$2"; return; }
        sleep 0.1
    done
    return 1
}
corvane="C:\\Program Files\\Corvane\\corvane.exe"
wine64 "$corvane" >/dev/null 2>&1 &
shown "Corvane V$version" alt+F4 || { fail "the installed corvane.exe showed no window"; kill $!; }
wait $! || fail "the installed corvane.exe ended with status $?"
wine64 "$corvane" --verbose >/dev/null 2>&1 &
shown corvane Return || { fail "corvane.exe --verbose showed no box"; kill $!; }
wait $!; [ $? = 2 ] || fail "corvane.exe --verbose did not end with status 2"

wine64 "C:\\Program Files\\Corvane\\Uninstall.exe" /S || fail "the silent uninstall ended with status $?"
# The uninstaller runs on from a copy of itself, so its work is awaited.
for _ in $(seq 300); do [ -e "$folder" ] || break; sleep 0.1; done
files | diff "$WINEPREFIX/before" - || fail "the uninstall left the files above behind"
! wine64 reg query "$key" >/dev/null 2>&1 || fail "the uninstall left its registry key"
exit "$failed"
