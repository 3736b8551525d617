#!/usr/bin/env bash
# Writes orvik-generator-<version>-web.zip: the static folder of the browser build and a README
# saying how to serve it, with the licence texts of the Qt linked in.
# Usage: scripts/package-web.sh [SITE_FOLDER]   (default: what scripts/build-web.sh gives)
# Prints the path of the zip as its last line.
set -euo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
site="${1:-}"
[ -n "$site" ] || site="$("$here/scripts/build-web.sh" | tail -1)"
qt="$("$here/scripts/qt-wasm.sh" | tail -1)"
"$here/scripts/install-packages.sh" --no-install-recommends zip

version="$(sed -n 's/^project(OrvikGenerator VERSION \([0-9.]*\).*/\1/p' "$here/CMakeLists.txt")"
name="orvik-generator-$version-web"
stage="$(mktemp -d)"
trap 'rm -rf "$stage"' EXIT
root="$stage/$name"
mkdir -p "$root/licenses/qt"
cp "$site"/orvik-generator.html "$site"/orvik-generator.js "$site"/orvik-generator.wasm "$site"/qtloader.js "$root/"
cp "$here/LICENSE" "$root/licenses/LICENSE.txt"
cp "$qt/licenses/"*.txt "$root/licenses/qt/"
cat >"$root/README.txt" <<TEXT
Orvik Generator $version in a browser

The same window as the desktop program, built for WebAssembly (Qt $(cat "$qt/licenses/VERSION")).
Nothing is installed: any web server that serves these files as they are will do. Browsers refuse
to run WebAssembly opened straight from a file, so serve the folder, for example on this machine
only:

    python3 -m http.server --bind 127.0.0.1 --directory . 8080

and open http://127.0.0.1:8080/orvik-generator.html in a current browser.

Load Orvik opens the browser's file picker; OK and Apply hand the file to the browser as a
download, named as the desktop program names it. Unsaved answers, the recent files and the files
chosen in the picker are kept in the browser's own storage for this site: a reload or a closed tab
offers the answers back, and the recent files still open.

licenses/ holds the licence texts of this program and of Qt and the code it carries.
TEXT
# Beside the folder it packs, as the Windows zip lands beside its build.
zip="$(cd "$site/.." && pwd)/$name.zip"
rm -f "$zip"
(cd "$stage" && zip -qr -X "$zip" "$name")
echo "$zip"
