#!/bin/sh
# SPDX-License-Identifier: MIT
# Installs the build into a scratch root and checks what lands there, validates
# the launcher entry and the AppStream metadata (with the entry and icons it
# names), then builds the Debian package, checks it the same way and runs
# lintian on it: any error or warning fails.
# Usage: check-package.sh BUILD_DIR [lint|no-lint]   (lint unless told otherwise)
set -eu
build=$(cd "$1" && pwd)
lint=${2:-lint}
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT

for tool in desktop-file-validate appstreamcli lintian; do
    command -v "$tool" >/dev/null 2>&1 || { echo "FAIL: $tool is missing (./scripts/install-packages.sh test)"; exit 1; }
done

installed="usr/bin/corvane
usr/bin/corvane-unit-sim
usr/bin/corvane-rehearse
usr/share/applications/corvane.desktop
usr/share/metainfo/org.corvane.corvane.metainfo.xml
usr/share/icons/hicolor/32x32/apps/corvane.png
usr/share/icons/hicolor/64x64/apps/corvane.png
usr/share/icons/hicolor/128x128/apps/corvane.png
usr/share/icons/hicolor/256x256/apps/corvane.png
usr/share/icons/hicolor/scalable/apps/corvane.svg"

# check_tree ROOT WHAT FILES: every one of FILES is in ROOT, not empty.
check_tree() {
    for file in $3; do
        [ -s "$1/$file" ] || { echo "FAIL: $2 lacks $file"; exit 1; }
    done
    for program in corvane corvane-rehearse; do
        [ -x "$1/usr/bin/$program" ] || { echo "FAIL: $2: $program is not executable"; exit 1; }
    done
}

DESTDIR="$scratch/install" cmake --install "$build" --prefix /usr >/dev/null
check_tree "$scratch/install" "cmake --install" "$installed
usr/share/man/man1/corvane.1
usr/share/man/man1/corvane-unit-sim.1
usr/share/man/man1/corvane-rehearse.1"
desktop-file-validate "$scratch/install/usr/share/applications/corvane.desktop"
appstreamcli validate-tree --no-net "$scratch/install"

(cd "$scratch" && cpack --config "$build/CPackConfig.cmake" -B "$scratch/package" >/dev/null)
deb=$(ls "$scratch"/package/*.deb)
dpkg-deb -x "$deb" "$scratch/root"
check_tree "$scratch/root" "the package" "$installed
usr/share/man/man1/corvane.1.gz
usr/share/man/man1/corvane-unit-sim.1.gz
usr/share/man/man1/corvane-rehearse.1.gz
usr/share/doc/corvane/copyright
usr/share/doc/corvane/changelog.Debian.gz"
depends=$(dpkg-deb -f "$deb" Depends)
for needed in libqt6widgets6 libqt6network6 qt6-qpa-plugins fonts-liberation2; do
    case "$depends" in *"$needed"*) ;; *) echo "FAIL: package does not depend on $needed: $depends"; exit 1 ;; esac
done
recommends=$(dpkg-deb -f "$deb" Recommends)
case "$recommends" in *qt6-wayland*) ;; *) echo "FAIL: package does not recommend qt6-wayland: $recommends"; exit 1 ;; esac
echo "package $(basename "$deb") holds:"
dpkg-deb -c "$deb" | awk '{print "  " $6}'
echo "depends: $depends"

# Info and pedantic tags are shown too, but only errors and warnings fail.
if [ "$lint" = no-lint ]; then
    echo "lintian not run: this build is not optimised and hardened, so not one to ship"
    exit 0
fi
status=0
lintian --display-info --pedantic --fail-on error,warning "$deb" >"$scratch/lintian" 2>&1 || status=$?
echo "lintian:"
grep -v "running with root privileges" "$scratch/lintian" || true
[ "$status" = 0 ] || { echo "FAIL: lintian reports errors or warnings (status $status)"; exit 1; }
