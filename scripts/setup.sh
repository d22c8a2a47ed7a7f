#!/bin/sh
# Installs what is missing on a Debian or Ubuntu machine, then configures and
# builds into build/. Safe to run again: it installs and rebuilds only what changed.
set -eu
cd "$(dirname "$0")/.."

packages="cmake ninja-build g++ qt6-base-dev fonts-liberation2 iproute2 util-linux"
if [ "${1:-}" = "--for-tests" ]; then
    packages="$packages xvfb xauth xdotool x11-apps imagemagick desktop-file-utils dpkg-dev"
fi

missing=""
for package in $packages; do
    status=$(dpkg-query -W -f='${Status}' "$package" 2>/dev/null || true)
    case "$status" in *"ok installed"*) ;; *) missing="$missing $package" ;; esac
done
if [ -n "$missing" ]; then
    echo "Installing:$missing"
    sudo=""
    [ "$(id -u)" = 0 ] || sudo=sudo
    $sudo apt-get update -q
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -q --no-install-recommends $missing
fi

[ -f build/CMakeCache.txt ] || cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build build
