#!/bin/sh
# SPDX-License-Identifier: MIT
# Installs the Debian packages that one kind of work needs, those missing only.
# Usage: install-packages.sh build|rehearse|test|fuzz|bench|windows
#   build: what builds and runs the program
#   rehearse: that, plus the namespace tools that rehearse.sh runs the program and simulator in
#   test:  that, plus what the test suite drives it with (X server, xdotool, packaging tools, tshark, Python,
#          OSC tools, the Adwaita Qt styles), clang-format, and the MinGW-w64 cross compiler the rules
#          library is built with
#   fuzz:  clang and libFuzzer, and liblo for the OSC target
#   bench: what builds the program, plus Google Benchmark and the namespace tools
#   windows: what builds Qt, liblo and the programs for Windows, the installer, and what tests them under Wine
set -eu
build="cmake ninja-build g++ qt6-base-dev liblo-dev fonts-liberation2"
case "${1:-}" in
build) wanted=$build ;;
rehearse) wanted="$build iproute2 util-linux" ;;
test) wanted="$build clang-format g++-mingw-w64-x86-64-posix iproute2 util-linux tshark liblo-tools python3 xvfb xauth xdotool x11-apps imagemagick desktop-file-utils dpkg-dev lintian appstream adwaita-qt6" ;;
fuzz) wanted="cmake ninja-build clang libclang-rt-14-dev liblo-dev" ;;
bench) wanted="$build libbenchmark-dev iproute2 util-linux" ;;
windows) wanted="$build dpkg-dev g++-mingw-w64-x86-64-posix gcc-mingw-w64-x86-64-posix perl python3 nsis wine64 fonts-wine xvfb xauth xdotool openbox iproute2 util-linux" ;;
*) echo "usage: $0 build|rehearse|test|fuzz|bench|windows" >&2; exit 2 ;;
esac
# The window's font test runs it with DejaVu alone, through fontconfig.
[ "${1:-}" != test ] || wanted="$wanted fonts-dejavu-core fontconfig"

missing=""
for package in $wanted; do
    status=$(dpkg-query -W -f='${Status}' "$package" 2>/dev/null || true)
    case "$status" in *"ok installed"*) ;; *) missing="$missing $package" ;; esac
done
[ -n "$missing" ] || exit 0

echo "Installing:$missing"
sudo=""
[ "$(id -u)" = 0 ] || sudo=sudo
$sudo apt-get update -q
# shellcheck disable=SC2086 # one word per package
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -q --no-install-recommends $missing
