#!/usr/bin/env bash
# Sets up, builds and runs the program.
set -euo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="${ORVIK_BUILD_DIR:-$here/build}"
"$here/scripts/setup.sh" "$build" >&2
if [ -x "$build/orvik-generator" ]; then
    exec "$build/orvik-generator" "$@"
fi
# Until the window exists, the command-line tool on the same core stands in for it.
if [ $# -eq 0 ]; then set -- --help; fi
exec "$build/orvik" "$@"
