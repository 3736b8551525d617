#!/usr/bin/env bash
# Renders every tab of a new form, a complete port form and a complete cable form to PNG files on
# the offscreen platform. Usage: scripts/screenshots.sh [OUTPUT_DIR] (default: docs/screenshots).
set -euo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="${ORVIK_BUILD_DIR:-$here/build}"
out="$(realpath -m "${1:-$here/docs/screenshots}")"
if [ ! -f "$build/build.ninja" ]; then
    "$here/scripts/setup.sh" "$build" >&2
fi
cmake --build "$build" --target RenderTest >&2
mkdir -p "$out"
QT_QPA_PLATFORM=offscreen ORVIK_SCREENSHOT_DIR="$out" "$build/tests/ui/RenderTest" >&2
ls -1 "$out"/*.png
