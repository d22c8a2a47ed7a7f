#!/bin/sh
# SPDX-License-Identifier: MIT
# Builds the Windows programs on Debian alone: static Qt and liblo for
# MinGW-w64 from Debian's own source packages, then corvane.exe and its three
# tools, each one self-contained file, the installer and the portable .zip.
#   build-windows.sh [qt|liblo|deps|programs|all]   (all unless told)
# Qt takes about half an hour of two cores, so it and liblo are kept in a
# cache folder outside the repository (CORVANE_WINDOWS_CACHE, by default
# ~/.cache/corvane-windows), one folder per version and options, reused while
# they are unchanged. The programs are built into build-windows/ with the
# windows preset; `ctest --preset windows` then tests them under Wine.
# CORVANE_WINDOWS_QT and CORVANE_WINDOWS_LIBLO name another Qt or liblo to
# build with (to relink the programs with a modified one).
# The line "prefix: DIR" on standard output names each finished folder.
set -eu
cd "$(dirname "$0")/.."
repo=$(pwd)
what=${1:-all}
cache=${CORVANE_WINDOWS_CACHE:-${XDG_CACHE_HOME:-$HOME/.cache}/corvane-windows}
toolchain=$repo/cmake/mingw-w64-x86_64.cmake
jobs=${CORVANE_WINDOWS_JOBS:-$(nproc)}
sudo=""
[ "$(id -u)" = 0 ] || sudo=sudo

./scripts/install-packages.sh windows

# apt-get source needs a deb-src entry; where the machine has none, one is
# added for its own suite and archive, as it already uses them for binaries.
ensure_deb_src() {
    if grep -rqsE '^(deb-src|Types:.*deb-src)' /etc/apt/sources.list /etc/apt/sources.list.d/; then
        return
    fi
    list=/etc/apt/sources.list.d/corvane-deb-src.sources
    if [ -f /etc/apt/sources.list.d/debian.sources ]; then
        # Debian 12's own format: the same stanzas, for sources.
        sed -n '/^Types:/s/.*/Types: deb-src/p; /^Types:/!p' /etc/apt/sources.list.d/debian.sources |
            $sudo tee "$list" >/dev/null
    elif [ -f /etc/apt/sources.list.d/ubuntu.sources ]; then
        sed -n '/^Types:/s/.*/Types: deb-src/p; /^Types:/!p' /etc/apt/sources.list.d/ubuntu.sources |
            $sudo tee "$list" >/dev/null
    else
        grep -E '^deb ' /etc/apt/sources.list | sed 's/^deb /deb-src /' |
            $sudo tee /etc/apt/sources.list.d/corvane-deb-src.list >/dev/null
    fi
    $sudo apt-get update -q >&2
}

# The key of a cached build: what is built, its Debian version, and a digest
# of everything that shapes the result.
cache_key() { # name version options...
    name=$1 version=$2
    shift 2
    digest=$( (printf '%s\n' "$@"; cat "$toolchain") | sha256sum | cut -c1-12)
    echo "$name-$version-$digest"
}

# Fetches a source package at the host's version into a fresh work folder.
fetch_source() { # source-package version work-folder
    ensure_deb_src >&2
    rm -rf "$3"
    mkdir -p "$3"
    (cd "$3" && apt-get source -q "$1=$2" >&2) || return 1
    find "$3" -mindepth 1 -maxdepth 1 -type d | head -1
}

# A prefix that a finished build left: said, and used as it is.
built_already() {
    [ -f "$1/.complete" ] && echo "prefix: $1"
}

qt_version=$(dpkg-query -W -f='${Version}' qt6-base-dev)
# Debian's source leaves out the Wintab headers, so tablet support is off.
qt_options="-static -release -no-opengl -no-dbus -no-icu -qt-zlib -qt-pcre -qt-libpng -qt-harfbuzz
-qt-freetype -no-libjpeg -no-feature-sql -no-feature-printsupport -no-feature-vulkan -nomake examples
-nomake tests -no-feature-tabletevent"
qt_prefix=$cache/$(cache_key qt "$qt_version" $qt_options)

build_qt() {
    built_already "$qt_prefix" && return
    work=$qt_prefix.work
    echo "Building Qt $qt_version for Windows into $qt_prefix (about half an hour of two cores)"
    # A build that was stopped goes on where it was.
    if [ ! -f "$work/build/build.ninja" ]; then
        source=$(fetch_source qt6-base "$qt_version" "$work")
        mkdir -p "$work/build"
        # Debian's own Qt tools (moc, rcc, uic) run on the build machine.
        # shellcheck disable=SC2086 # one word per option
        (cd "$work/build" && "$source/configure" -prefix "$qt_prefix" $qt_options -- \
            -G Ninja -DCMAKE_TOOLCHAIN_FILE="$toolchain" -DQT_HOST_PATH=/usr \
            -DQT_HOST_PATH_CMAKE_DIR=/usr/lib/x86_64-linux-gnu/cmake)
    fi
    cmake --build "$work/build" --parallel "$jobs"
    cmake --install "$work/build"
    touch "$qt_prefix/.complete"
    rm -rf "$work"
    echo "prefix: $qt_prefix"
}

lo_version=$(dpkg-query -W -f='${Version}' liblo-dev)
lo_options="--host=x86_64-w64-mingw32 --enable-static --disable-shared --disable-tests --disable-network-tests
--disable-examples --disable-tools --disable-doc"
lo_prefix=$cache/$(cache_key liblo "$lo_version" $lo_options)

build_liblo() {
    built_already "$lo_prefix" && return
    work=$lo_prefix.work
    echo "Building liblo $lo_version for Windows into $lo_prefix"
    if ! source=$(fetch_source liblo "$lo_version" "$work"); then
        rm -rf "$work"
        echo "WARNING: liblo's source could not be fetched (apt-get source liblo=$lo_version):" \
            "corvane-osc.exe is not built" >&2
        return 1
    fi
    # shellcheck disable=SC2086 # one word per option
    (cd "$source" && CC=x86_64-w64-mingw32-gcc-posix ./configure --prefix="$lo_prefix" $lo_options &&
        make -j"$jobs" && make install)
    touch "$lo_prefix/.complete"
    rm -rf "$work"
    echo "prefix: $lo_prefix"
}

build_programs() {
    qt=${CORVANE_WINDOWS_QT:-$qt_prefix}
    lo=${CORVANE_WINDOWS_LIBLO:-$lo_prefix}
    [ -f "$lo/include/lo/lo.h" ] || lo=""
    command -v ccache >/dev/null && export CMAKE_CXX_COMPILER_LAUNCHER=ccache
    CORVANE_WINDOWS_QT=$qt CORVANE_WINDOWS_LIBLO=$lo cmake --preset windows
    cmake --build --preset windows --parallel "$jobs"
    ls -l build-windows/*.exe build-windows/*.zip
}

mkdir -p "$cache"
case "$what" in
qt | liblo | deps | all)
    # One build of each at a time, however many builds of the repository ask.
    exec 9>"$cache/.lock"
    flock 9
    ;;
esac
case "$what" in
qt) build_qt ;;
liblo) build_liblo ;;
deps)
    build_qt
    build_liblo || true
    ;;
programs) build_programs ;;
all)
    [ -n "${CORVANE_WINDOWS_QT:-}" ] || build_qt
    [ -n "${CORVANE_WINDOWS_LIBLO:-}" ] || build_liblo || true
    exec 9>&-
    build_programs
    ;;
*)
    echo "usage: $0 [qt|liblo|deps|programs|all]" >&2
    exit 2
    ;;
esac
