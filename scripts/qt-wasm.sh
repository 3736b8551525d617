#!/usr/bin/env bash
# Provides a static Qt for WebAssembly, built with Debian's emscripten from Debian's own qt6-base
# source package, the same Qt version the Linux build uses.
#
# The result is cached outside the clone, in a folder named after the Qt source version and a hash
# of the configure options and of the emscripten version, and reused while it is complete;
# otherwise it is fetched, configured, built and installed again. Prints the install prefix as its
# last line. Programs built against it need EMSDK="$(scripts/emsdk.sh)" in their environment.
#
# Usage: scripts/qt-wasm.sh
#   ORVIK_QT_WASM_CACHE  cache folder (default /var/cache/orvik as root, else
#                        ${XDG_CACHE_HOME:-~/.cache}/orvik)
set -euo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
qt_target="Qt for WebAssembly"
cache_variable=ORVIK_QT_WASM_CACHE
# shellcheck source=scripts/qt-source.sh
. "$here/scripts/qt-source.sh"

"$here/scripts/install-packages.sh" --no-install-recommends emscripten binaryen node-acorn cmake \
    ninja-build qt6-base-dev qt6-base-dev-tools dpkg-dev
# Debian's emscripten tools look for acorn among Node's system modules.
export NODE_PATH=/usr/share/nodejs
EMSDK="$("$here/scripts/emsdk.sh")"
export EMSDK

# Only what the window and its tests link: Core, Gui, Widgets, Test and the browser platform. No
# threads (they would need cross-origin isolation headers from every server), networking, SQL,
# printing, XML or D-Bus.
configure_options=(-platform wasm-emscripten -qt-host-path /usr -release -static -nomake examples
    -nomake tests -no-feature-thread -no-dbus -no-icu -qt-zlib -qt-pcre -qt-libpng -no-feature-sql
    -no-feature-network -no-feature-printsupport -no-feature-concurrent -no-feature-xml)

qt_source_version
key="$({ printf '%s\n' "${configure_options[@]}"; emcc --version | sed -n 1p; } | sha256sum | cut -c1-12)"
prefix="$cache/qt-wasm-${version//[^A-Za-z0-9.+-]/_}-$key"
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

phase "configuring with $(emcc --version | sed -n 1p)"
mkdir -p "$work/build"
(cd "$work/build" && "$work/src/configure" -prefix "$prefix" "${configure_options[@]}" -- -G Ninja \
    -DQT_HOST_PATH_CMAKE_DIR=/usr/lib/x86_64-linux-gnu/cmake >"$work/configure.log" 2>&1) || {
    tail -40 "$work/configure.log" >&2
    exit 1
}

qt_build "$work"
qt_install "$work" "$prefix"
echo "$prefix"
