#!/usr/bin/env bash
# Writes orvik-generator-<version>-windows-x64.zip from a Windows build: the window program and the
# command-line tool (stripped), a README.txt and the licence texts of everything linked in; and the
# installer orvik-generator-<version>-windows-x64.msi holding the same files (scripts/windows-msi.sh).
# Usage: scripts/package-windows.sh [WINDOWS_BUILD_DIR] [QT_PREFIX]
#   defaults: $ORVIK_WINDOWS_BUILD_DIR or build-windows/, and the prefix scripts/qt-windows.sh gives.
# Prints the paths of the MSI and of the zip as its last two lines.
set -euo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="${1:-${ORVIK_WINDOWS_BUILD_DIR:-$here/build-windows}}"
qt="${2:-}"
[ -n "$qt" ] || qt="$("$here/scripts/qt-windows.sh" | tail -1)"

"$here/scripts/install-packages.sh" --no-install-recommends zip binutils-mingw-w64-x86-64

fail() {
    echo "package-windows: $*" >&2
    exit 1
}
for exe in orvik-generator.exe orvik.exe; do
    [ -f "$build/$exe" ] || fail "$build/$exe is missing; build it first (scripts/windows-test.sh)"
done
[ -d "$qt/licenses" ] || fail "$qt/licenses is missing: not a prefix scripts/qt-windows.sh made"

version="$(sed -n 's/^project(OrvikGenerator VERSION \([0-9.]*\).*/\1/p' "$here/CMakeLists.txt")"
qt_version="$(cat "$qt/licenses/VERSION")"
name="orvik-generator-$version-windows-x64"
stage="$(mktemp -d)"
trap 'rm -rf "$stage"' EXIT
root="$stage/$name"
mkdir -p "$root/licenses/qt" "$root/licenses/mingw-w64"

for exe in orvik-generator.exe orvik.exe; do
    x86_64-w64-mingw32-strip -o "$root/$exe" "$build/$exe"
done
# Text files for Windows readers: CR LF line ends.
crlf() { sed 's/$/\r/' "$1" >"$2"; }
sed -e "s/@VERSION@/$version/" -e "s/@QT_VERSION@/$qt_version/" "$here/packaging/windows/README.txt" >"$stage/README.txt"
crlf "$stage/README.txt" "$root/README.txt"
crlf "$here/LICENSE" "$root/LICENSE.txt"
for f in "$qt"/licenses/*.txt; do
    crlf "$f" "$root/licenses/qt/$(basename "$f")"
done
crlf /usr/share/doc/mingw-w64-common/copyright "$root/licenses/mingw-w64/runtime-and-winpthreads.txt"
crlf /usr/share/doc/gcc-mingw-w64-base/copyright "$root/licenses/mingw-w64/gcc-runtime.txt"

zip="$build/$name.zip"
rm -f "$zip"
(cd "$stage" && TZ=UTC zip -q -X -r "$zip" "$name")
echo "package-windows: $(du -h "$zip" | cut -f1) with $(cd "$stage" && find "$name" -type f | wc -l) files" >&2
msi="$build/$name.msi"
"$here/scripts/windows-msi.sh" "$root" "$version" "$msi"
echo "package-windows: $(du -h "$msi" | cut -f1) installer" >&2
echo "$msi"
echo "$zip"
