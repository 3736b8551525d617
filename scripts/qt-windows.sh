#!/usr/bin/env bash
# Provides a static Qt for 64-bit Windows, cross-built with the project's MinGW-w64 toolchain from
# Debian's own qt6-base source package, the same Qt version the Linux build uses.
#
# The result is cached outside the clone, in a folder named after the Qt source version and a hash
# of the configure options and of the toolchain file, and reused while it is complete; otherwise it is
# fetched, configured, built and installed again. Prints the install prefix as its last line.
#
# Usage: scripts/qt-windows.sh
#   ORVIK_QT_WINDOWS_CACHE  cache folder (default /var/cache/orvik as root, else
#                           ${XDG_CACHE_HOME:-~/.cache}/orvik)
set -euo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
qt_target="Qt for Windows"
cache_variable=ORVIK_QT_WINDOWS_CACHE
# shellcheck source=scripts/qt-source.sh
. "$here/scripts/qt-source.sh"

"$here/scripts/install-packages.sh" --no-install-recommends g++-mingw-w64-x86-64-posix cmake ninja-build \
    qt6-base-dev qt6-base-dev-tools dpkg-dev

# Only what the window and its tests link: Core, Gui, Widgets, Test, the Windows and offscreen
# platforms and the Vista style. No networking, SQL, printing, XML, D-Bus or OpenGL; no image
# formats beyond the built-in PNG. The tablet header is missing from Debian's source.
toolchain="$here/cmake/mingw-w64-x86_64.cmake"
configure_options=(-release -static -xplatform win32-g++ -device-option CROSS_COMPILE=x86_64-w64-mingw32-
    -qt-host-path /usr -nomake examples -nomake tests -no-opengl -no-dbus -no-icu -qt-zlib -qt-pcre
    -qt-libpng -no-libjpeg -no-gif -no-ico -qt-harfbuzz -qt-freetype -no-feature-sql -no-feature-network
    -no-feature-printsupport -no-feature-concurrent -no-feature-xml -no-feature-tabletevent
    -no-feature-imageformatplugin -no-feature-testlib_selfcover)

qt_source_version
key="$(printf '%s\n' "${configure_options[@]}" | cat - "$toolchain" | sha256sum | cut -c1-12)"
prefix="$cache/qt-windows-${version//[^A-Za-z0-9.+-]/_}-$key"
if [ -f "$prefix/.complete" ]; then
    phase "reusing $prefix"
    echo "$prefix"
    exit 0
fi

work="$cache/work-$key"
mkdir -p "$cache"
rm -rf "$work" "$prefix"
mkdir -p "$work"
qt_fetch_source "$work"

phase "configuring"
mkdir -p "$work/build"
(cd "$work/build" && "$work/src/configure" -prefix "$prefix" "${configure_options[@]}" -- -G Ninja \
    -DCMAKE_TOOLCHAIN_FILE="$toolchain" -DQT_HOST_PATH_CMAKE_DIR=/usr/lib/x86_64-linux-gnu/cmake \
    >"$work/configure.log" 2>&1) || {
    tail -40 "$work/configure.log" >&2
    exit 1
}

# The configure options above leave only what the window and its tests use; all of it is built.
qt_build "$work"
qt_install "$work" "$prefix"
echo "$prefix"
