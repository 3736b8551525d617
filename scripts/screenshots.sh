#!/usr/bin/env bash
# Renders every tab of the window for a complete port form and a complete cable form, and the problems
# panel on a form with problems, the PDO chart and the cleared-answers bar (or every tab for the form
# files given) to PNG files, offscreen.
# Usage: scripts/screenshots.sh [OUT_DIR [FILE...]]   (default OUT_DIR: docs/screenshots/)
# QT_SCALE_FACTOR=2 gives pictures at twice the size.
set -euo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="${ORVIK_BUILD_DIR:-$here/build}"
out="${1:-$here/docs/screenshots}"
shift || true
if [ ! -f "$build/build.ninja" ]; then
    "$here/scripts/setup.sh" "$build" >&2
fi
cmake --build "$build" --target orvik_screenshots >&2
mkdir -p "$out"
QT_QPA_PLATFORM=offscreen LANG=C.UTF-8 "$build/tools/screenshots/orvik_screenshots" "$out" "$@"
