#!/usr/bin/env bash
# Prints the path of an emsdk-shaped folder over Debian's emscripten, creating it when missing: Qt
# for WebAssembly finds the compiler through EMSDK (its `.emscripten` and `upstream/emscripten/`),
# while Debian installs emscripten under /usr/share/emscripten and its drivers in /usr/bin.
# Usage: EMSDK="$(scripts/emsdk.sh)"   (the folder sits in the cache scripts/qt-wasm.sh uses)
set -euo pipefail
if [ "$(id -u)" -eq 0 ]; then
    cache="${ORVIK_QT_WASM_CACHE:-/var/cache/orvik}"
else
    cache="${ORVIK_QT_WASM_CACHE:-${XDG_CACHE_HOME:-$HOME/.cache}/orvik}"
fi
emsdk="$cache/emsdk-debian"
tools="$emsdk/upstream/emscripten"
if [ ! -f "$emsdk/.emscripten" ]; then
    mkdir -p "$tools"
    for entry in /usr/share/emscripten/*; do
        ln -sfn "$entry" "$tools/$(basename "$entry")"
    done
    for tool in emcc em++ emar emranlib; do
        ln -sfn "/usr/bin/$tool" "$tools/$tool"
    done
    echo "EMSCRIPTEN_ROOT = '/upstream/emscripten'" >"$emsdk/.emscripten"
fi
echo "$emsdk"
