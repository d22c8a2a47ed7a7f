#!/bin/sh
# Installs the Debian packages that one kind of work needs, those missing only.
# Usage: install-packages.sh build|test|fuzz|bench
#   build: what builds and runs the program
#   test:  that, plus what the test suite drives it with (X server, xdotool, packaging tools) and clang-format
#   fuzz:  clang and libFuzzer
#   bench: what builds the program, plus Google Benchmark and the namespace tools
set -eu
build="cmake ninja-build g++ qt6-base-dev fonts-liberation2"
case "${1:-}" in
build) wanted=$build ;;
test) wanted="$build clang-format iproute2 util-linux xvfb xauth xdotool x11-apps imagemagick desktop-file-utils dpkg-dev" ;;
fuzz) wanted="cmake ninja-build clang libclang-rt-14-dev" ;;
bench) wanted="$build libbenchmark-dev iproute2 util-linux" ;;
*) echo "usage: $0 build|test|fuzz|bench" >&2; exit 2 ;;
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
