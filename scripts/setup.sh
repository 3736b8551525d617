#!/usr/bin/env bash
# Installs the Debian packages the build needs (only those missing), then configures and builds.
# Usage: scripts/setup.sh BUILD_DIR [extra cmake arguments...]
set -euo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="${1:-$here/build}"
shift || true

packages=(cmake ninja-build ccache g++ libgtest-dev libgmock-dev googletest libbenchmark-dev clang libclang-rt-14-dev
    qt6-base-dev libfontconfig-dev fonts-dejavu-core dpkg-dev desktop-file-utils appstream)
"$here/scripts/install-packages.sh" "${packages[@]}"

cmake -S "$here" -B "$build" -G Ninja -DORVIK_WERROR=ON "$@"
cmake --build "$build" --parallel "$(nproc)"
