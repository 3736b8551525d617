#!/usr/bin/env bash
# Sets up, builds and runs every test.
set -euo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="${ORVIK_BUILD_DIR:-$here/build}"
"$here/scripts/setup.sh" "$build" "$@"
ctest --test-dir "$build" --output-on-failure --parallel "$(nproc)"
