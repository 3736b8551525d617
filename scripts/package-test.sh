#!/usr/bin/env bash
# Builds the Debian package, validates its desktop entry and metainfo, unpacks it into a temporary
# root and runs the installed programs from there.
# Usage: scripts/package-test.sh [BUILD_DIR]
set -euo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"

fail() {
    echo "package-test: FAILED: $*" >&2
    exit 1
}

deb="$("$here/scripts/package.sh" "$@")"
echo "package-test: built $deb"

root="$(mktemp -d)"
trap 'rm -rf "$root"' EXIT
dpkg -x "$deb" "$root"

desktop="$root/usr/share/applications/orvik-generator.desktop"
metainfo="$root/usr/share/metainfo/io.orvik.Generator.metainfo.xml"
icon="$root/usr/share/icons/hicolor/scalable/apps/orvik-generator.svg"
copyright="$root/usr/share/doc/orvik-generator/copyright"
for f in "$desktop" "$metainfo" "$icon" "$copyright"; do
    [ -s "$f" ] || fail "the package lacks ${f#"$root"}"
done
desktop-file-validate "$desktop" || fail "desktop-file-validate rejects the desktop entry"
appstreamcli validate --no-net "$metainfo" || fail "appstreamcli rejects the metainfo"
grep -q '^License: GPL-3.0-or-later$' "$copyright" || fail "the copyright file names no GPL-3.0-or-later licence"

depends="$(dpkg-deb -f "$deb" Depends)"
case "$depends" in
*libc6*) echo "package-test: Depends: $depends" ;;
*) fail "the package's dependencies were not computed (Depends: '$depends')" ;;
esac

orvik="$root/usr/bin/orvik"
[ -x "$orvik" ] || fail "the package lacks /usr/bin/orvik"
# The programs find their libraries in the system's folders only, never beside themselves or in
# the folder they are started from.
for program in "$orvik" "$root/usr/bin/orvik-generator"; do
    if readelf -d "$program" | grep -q -E 'R(UN)?PATH'; then
        fail "${program#"$root"} carries a library search path of its own: $(readelf -d "$program" | grep -E 'R(UN)?PATH')"
    fi
done
help="$("$orvik" --help)" || fail "the installed orvik --help exits with an error"
case "$help" in
*"orvik check FILE"*) echo "package-test: installed orvik --help runs" ;;
*) fail "the installed orvik --help prints no usage" ;;
esac

generator="$root/usr/bin/orvik-generator"
[ -x "$generator" ] || fail "the package lacks /usr/bin/orvik-generator"
# --version answers before any window exists, so no display is needed.
version="$(env -u DISPLAY -u WAYLAND_DISPLAY "$generator" --version)" ||
    fail "the installed orvik-generator --version exits with an error"
case "$version" in
*"1.2.2.2"*) echo "package-test: installed orvik-generator --version: $version" ;;
*) fail "the installed orvik-generator --version prints '$version'" ;;
esac
echo "package-test: passed"
