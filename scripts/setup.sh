#!/usr/bin/env bash
# Installs the Debian packages the build needs (only those missing), then configures and builds.
# Usage: scripts/setup.sh BUILD_DIR [extra cmake arguments...]
set -euo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="${1:-$here/build}"
shift || true

packages=(cmake ninja-build g++ libgtest-dev libgmock-dev googletest libbenchmark-dev clang libclang-rt-14-dev
    qt6-base-dev fonts-dejavu-core dpkg-dev desktop-file-utils appstream)
missing=()
for p in "${packages[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
        missing+=("$p")
    fi
done
if [ ${#missing[@]} -gt 0 ]; then
    echo "Installing missing packages: ${missing[*]}"
    sudo_cmd=""
    if [ "$(id -u)" -ne 0 ]; then sudo_cmd="sudo"; fi
    $sudo_cmd apt-get update -q
    DEBIAN_FRONTEND=noninteractive $sudo_cmd apt-get install -y -q "${missing[@]}"
fi

cmake -S "$here" -B "$build" -G Ninja "$@"
cmake --build "$build" --parallel "$(nproc)"
