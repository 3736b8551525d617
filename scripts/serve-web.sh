#!/usr/bin/env bash
# Serves the browser build on this machine only, for a person to try it: open the address it
# prints. Builds the folder first when it is missing.
# Usage: scripts/serve-web.sh [PORT] [SITE_FOLDER]   (defaults 8080 and build-web/site)
set -euo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
port="${1:-8080}"
site="${2:-$here/build-web/site}"
[ -f "$site/orvik-generator.html" ] || site="$("$here/scripts/build-web.sh" | tail -1)"
echo "Orvik Generator: http://127.0.0.1:$port/orvik-generator.html (Ctrl+C stops)"
exec python3 -m http.server --bind 127.0.0.1 --directory "$site" "$port"
