#!/usr/bin/env bash
# Builds the window for WebAssembly (the browser build) with the Qt scripts/qt-wasm.sh provides, and
# gathers the static files a web server needs in one folder: orvik-generator.html, its .js, .wasm
# and qtloader.js. Prints that folder as its last line.
# Usage: scripts/build-web.sh [BUILD_DIR]   (default build-web/; the folder is BUILD_DIR/site)
set -euo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="${1:-$here/build-web}"
qt="$("$here/scripts/qt-wasm.sh" | tail -1)"
export NODE_PATH=/usr/share/nodejs
EMSDK="$("$here/scripts/emsdk.sh")"
export EMSDK

if [ ! -f "$build/CMakeCache.txt" ]; then
    "$qt/bin/qt-cmake" -S "$here" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DORVIK_WERROR=ON \
        -DORVIK_BUILD_TESTS=OFF -DORVIK_BUILD_BENCH=OFF -DCMAKE_CXX_COMPILER_LAUNCHER=ccache >&2
fi
cmake --build "$build" --target orvik-generator --parallel 2 >&2
site="$build/site"
mkdir -p "$site"
cp "$build/orvik-generator.js" "$build/orvik-generator.wasm" "$site/"
# The page and its loader are Qt's own, named after the program; the page's title is the caption
# once the window shows.
sed 's/@APPNAME@/orvik-generator/g' "$qt/plugins/platforms/wasm_shell.html" >"$site/orvik-generator.html"
cp "$qt/plugins/platforms/qtloader.js" "$qt/plugins/platforms/qtlogo.svg" "$site/"
echo "$site"
