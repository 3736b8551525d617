#!/usr/bin/env bash
# Builds the Debian package: a release build without tests and benchmarks, then `cpack -G DEB`.
# Usage: scripts/package.sh [BUILD_DIR]   (default: build-package); prints the path of the .deb.
set -euo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="${1:-$here/build-package}"

launcher=()
if command -v ccache >/dev/null 2>&1; then launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache); fi
"$here/scripts/setup.sh" "$build" -DCMAKE_BUILD_TYPE=Release -DORVIK_BUILD_TESTS=OFF \
    -DORVIK_BUILD_BENCH=OFF -DORVIK_BUILD_FUZZ=OFF -DORVIK_SANITIZE=OFF "${launcher[@]}" >&2

rm -f "$build"/*.deb
(cd "$build" && cpack -G DEB >&2)
deb="$(find "$build" -maxdepth 1 -name '*.deb' -print -quit)"
if [ -z "$deb" ]; then
    echo "package.sh: cpack wrote no .deb into $build" >&2
    exit 1
fi
echo "$deb"
