#!/bin/sh
# Installs the build into a scratch root and checks what lands there, validates
# the launcher entry, then builds the Debian package and checks it the same way.
# Usage: check-package.sh BUILD_DIR
set -eu
build=$(cd "$1" && pwd)
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT

expected="usr/bin/corvane
usr/bin/corvane-unit-sim
usr/share/applications/corvane.desktop
usr/share/icons/hicolor/32x32/apps/corvane.png
usr/share/icons/hicolor/64x64/apps/corvane.png
usr/share/icons/hicolor/scalable/apps/corvane.svg"

check_tree() {
    for file in $expected; do
        [ -s "$1/$file" ] || { echo "FAIL: $2 lacks $file"; exit 1; }
    done
    [ -x "$1/usr/bin/corvane" ] || { echo "FAIL: $2: corvane is not executable"; exit 1; }
}

DESTDIR="$scratch/install" cmake --install "$build" --prefix /usr >/dev/null
check_tree "$scratch/install" "cmake --install"
desktop-file-validate "$scratch/install/usr/share/applications/corvane.desktop"

(cd "$scratch" && cpack --config "$build/CPackConfig.cmake" -B "$scratch/package" >/dev/null)
deb=$(ls "$scratch"/package/*.deb)
dpkg-deb -x "$deb" "$scratch/root"
check_tree "$scratch/root" "the package"
depends=$(dpkg-deb -f "$deb" Depends)
for needed in libqt6widgets6 libqt6network6 qt6-qpa-plugins fonts-liberation2; do
    case "$depends" in *"$needed"*) ;; *) echo "FAIL: package does not depend on $needed: $depends"; exit 1 ;; esac
done
echo "package $(basename "$deb") holds:"
dpkg-deb -c "$deb" | awk '{print "  " $6}'
echo "depends: $depends"
