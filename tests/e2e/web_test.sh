#!/usr/bin/env bash
# The browser build in headless Chromium: builds Qt for WebAssembly when its cache is missing, the
# web folder and its zip, then opens the page with Debian's chromium-driver on 127.0.0.1.
# Usage: tests/e2e/web_test.sh [BUILD_DIR]   (default build-web/; the screenshot lands in
# BUILD_DIR/e2e/web-window.png)
set -euo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)"
build="${1:-$here/build-web}"
"$here/scripts/install-packages.sh" --no-install-recommends emscripten chromium chromium-driver \
    python3-selenium zip
site="$("$here/scripts/build-web.sh" "$build" | tail -1)"
wasm="$site/orvik-generator.wasm"
js="$site/orvik-generator.js"
echo "-- download: .wasm $(stat -c %s "$wasm") bytes ($(gzip -9c "$wasm" | wc -c) gzipped)," \
    ".js $(stat -c %s "$js") bytes ($(gzip -9c "$js" | wc -c) gzipped)"
"$here/scripts/package-web.sh" "$site" | tail -1
# Debian's chromium-driver runs under the system's Python, where python3-selenium is.
/usr/bin/python3 "$here/tests/e2e/web_window_test.py" "$site" "$build/e2e"
