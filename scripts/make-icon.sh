#!/usr/bin/env bash
# Renders the program's icon (packaging/orvik-generator.svg) at the sizes Windows asks for and packs
# them into packaging/orvik-generator.ico, the icon of orvik-generator.exe. Run it after changing
# the SVG and commit both.
set -euo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
"$here/scripts/install-packages.sh" --no-install-recommends librsvg2-bin icoutils
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
pngs=()
for size in 16 20 24 32 40 48 64 256; do
    rsvg-convert -w "$size" -h "$size" "$here/packaging/orvik-generator.svg" -o "$work/$size.png"
    pngs+=("$work/$size.png")
done
# The large picture stays PNG-compressed; the small ones are stored as bitmaps for older readers.
icotool -c -o "$here/packaging/orvik-generator.ico" "${pngs[@]:0:7}" -r "${pngs[7]}"
echo "$here/packaging/orvik-generator.ico"
