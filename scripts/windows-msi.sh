#!/usr/bin/env bash
# Writes the Windows installer (packaging/windows/orvik-generator.wxs) from an unpacked Windows zip:
# the programs, README.txt, LICENSE.txt and every licence text under licenses/.
# Usage: scripts/windows-msi.sh FOLDER VERSION MSI
set -euo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
folder="$(cd "$1" && pwd)"
version="$2"
msi="$3"

"$here/scripts/install-packages.sh" --no-install-recommends wixl

work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
# wixl takes source files by paths relative to the folder it runs in.
msi="$(cd "$(dirname "$msi")" && pwd)/$(basename "$msi")"
ln -s "$folder" "$work/files"
cp "$here/packaging/orvik-generator.ico" "$here/packaging/windows/orvik-generator.wxs" "$work/"
cd "$work"
# The licence texts, one component per folder: their number and names follow the Qt release. A
# component's id is fixed by its folder's name, so each release's installer names it alike.
guid() { python3 -c 'import sys, uuid; print(str(uuid.uuid5(uuid.UUID(sys.argv[1]), sys.argv[2])).upper())' \
    C5DB3548-0A28-4BA6-9369-60D74BCD0F6C "$1"; }
key_path() { # $1: the value's name
    echo "  <RegistryValue Root=\"HKCU\" Key=\"Software\\Orvik Generator\\Installer\" Name=\"$1\" Type=\"integer\" Value=\"1\" KeyPath=\"yes\" />"
}
{
    echo '<?xml version="1.0" encoding="utf-8"?>'
    echo '<Wix xmlns="http://schemas.microsoft.com/wix/2006/wi"><Fragment>'
    echo '<DirectoryRef Id="LicencesDir">'
    echo "<Component Id=\"Licences\" Guid=\"$(guid licenses)\">"
    key_path licenses
    echo '  <RemoveFolder Id="RemoveLicences" On="uninstall" />'
    echo '</Component>'
    d=0 f=0
    for dir in files/licenses/*/; do
        d=$((d + 1))
        name="$(basename "$dir")"
        echo "<Directory Id=\"Licences$d\" Name=\"$name\">"
        echo "<Component Id=\"Licences$d\" Guid=\"$(guid "licenses/$name")\">"
        for file in "$dir"*; do
            f=$((f + 1))
            echo "  <File Id=\"Licence$f\" Name=\"$(basename "$file")\" Source=\"$file\" />"
        done
        key_path "licenses\\$name"
        echo "  <RemoveFolder Id=\"RemoveLicences$d\" On=\"uninstall\" />"
        echo '</Component></Directory>'
    done
    echo '</DirectoryRef>'
    echo '<ComponentGroup Id="Licences"><ComponentRef Id="Licences" />'
    for ((i = 1; i <= d; i++)); do echo "<ComponentRef Id=\"Licences$i\" />"; done
    echo '</ComponentGroup>'
    echo '</Fragment></Wix>'
} >"$work/licences.wxs"

rm -f "$msi"
wixl -a x64 -D Version="$version" -D SourceDir=files -D Icon=orvik-generator.ico -o "$msi" \
    orvik-generator.wxs licences.wxs
