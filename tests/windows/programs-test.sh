#!/bin/sh
# SPDX-License-Identifier: MIT
# What each Windows program file is, read from the file itself without
# running it: a 64-bit program of the right subsystem (the window without a
# console, the tools with one), needing no DLL beyond Windows' own, with the
# project's icon and a version resource naming the product and version.
# Usage: programs-test.sh VERSION ICON WINDOW.exe TOOL.exe...
set -u
version=$1 icon=$2 window=$3
objdump=x86_64-w64-mingw32-objdump
command -v "$objdump" >/dev/null || { echo "SKIPPED: $objdump is missing (binutils-mingw-w64-x86-64)"; exit 77; }
shift 2
failed=0
fail() { echo "FAIL $(basename "$program"): $*"; failed=1; }
# Windows' own DLLs, always present: anything else would have to ship beside the program.
system='^(api-ms-win-.*|advapi32|authz|bcrypt|comctl32|comdlg32|crypt32|d3d9|d3d11|dwmapi|dwrite|dxgi|gdi32|imm32|iphlpapi|kernel32|msvcrt|netapi32|ole32|oleaut32|secur32|shcore|shell32|shlwapi|user32|userenv|uxtheme|version|winhttp|winmm|ws2_32|wtsapi32)\.dll$'
for program in "$@"; do
    headers=$("$objdump" -p "$program") || { fail "not a Windows program"; continue; }
    want=CUI && [ "$program" = "$window" ] && want=GUI
    echo "$headers" | grep -q "^Subsystem.*(Windows $want)" || fail "not a Windows $want program"
    others=$(echo "$headers" | sed -n 's/^\tDLL Name: //p' | tr 'A-Z' 'a-z' | grep -Ev "$system")
    [ -z "$others" ] || fail "needs DLLs beside it: $others"
    # The version resource's strings are UTF-16; the icon is the project's own, byte for byte.
    texts=$(strings -e l "$program")
    for pair in "ProductName Corvane" "ProductVersion $version" "FileVersion $version" \
        "OriginalFilename $(basename "$program")"; do
        name=${pair%% *} value=${pair#* }
        echo "$texts" | grep -A1 -x "$name" | tail -n 1 | grep -qxF "$value" || fail "no $name \"$value\""
    done
    # Each picture of the .ico is stored in the program as it is in the file.
    python3 -c 'import struct, sys; ico, exe = (open(path, "rb").read() for path in sys.argv[1:])
sizes = [struct.unpack_from("<II", ico, 14 + 16 * i) for i in range(struct.unpack_from("<H", ico, 4)[0])]
sys.exit(not sizes or not all(ico[offset:offset + size] in exe for size, offset in sizes))' "$icon" "$program" ||
        fail "the icon is not the project's"
done
exit "$failed"
