#!/usr/bin/env bash
# The browser build in headless Chromium: builds Qt for WebAssembly when its cache is missing, the
# web folder and its zip, then drives the page with Debian's chromium-driver on 127.0.0.1: a port
# file loads through the file picker, the tabs are visited, Apply's download is compared with what
# the native orvik prints, a tab-clearing choice is undone, and a reload gives back unsaved answers
# and the recent files.
# Usage: tests/e2e/web_test.sh [BUILD_DIR]   (default build-web/; the screenshots land in
# BUILD_DIR/e2e/; ORVIK_BUILD_DIR: the native build holding orvik, default build/)
set -euo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)"
build="${1:-$here/build-web}"
"$here/scripts/install-packages.sh" --no-install-recommends emscripten chromium chromium-driver \
    python3-selenium python3-pil zip
site="$("$here/scripts/build-web.sh" "$build" | tail -1)"
wasm="$site/orvik-generator.wasm"
js="$site/orvik-generator.js"
echo "-- download: .wasm $(stat -c %s "$wasm") bytes ($(gzip -9c "$wasm" | wc -c) gzipped)," \
    ".js $(stat -c %s "$js") bytes ($(gzip -9c "$js" | wc -c) gzipped)"
"$here/scripts/package-web.sh" "$site" | tail -1
port="$here/fuzz/corpus/port.txt"
mkdir -p "$build/e2e"
"${ORVIK_BUILD_DIR:-$here/build}/orvik" print "$port" >"$build/e2e/printed.txt"
# Debian's chromium-driver runs under the system's Python, where python3-selenium is.
/usr/bin/python3 "$here/tests/e2e/web_window_test.py" "$site" "$build/e2e" "$port" "$build/e2e/printed.txt"
