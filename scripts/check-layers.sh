#!/usr/bin/env bash
# Checks the layering of the sources from their #include lines: a layer includes only its own
# headers and those of the layers below it; the core layers and the command-line tool include no Qt
# header; the window (src/ui, src/app) may include anything.
#
#   text, platform  <-  logging  <-  model  <-  catalog  <-  sheet  <-  persistence  <-  cli
#
# Usage: scripts/check-layers.sh [SOURCE_ROOT]   (default: the repository's src/)
# Prints every offending line as FILE:LINE: message and exits 1 when there is one.
set -euo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
root="${1:-$here/src}"

# The layers each layer may include, itself among them.
declare -A allowed=(
    [text]="text"
    [platform]="platform"
    [logging]="text platform logging"
    [model]="text platform logging model"
    [catalog]="text platform logging model catalog"
    [sheet]="text platform logging model catalog sheet"
    [persistence]="text platform logging model catalog sheet persistence"
    [cli]="text platform logging model catalog sheet persistence cli"
)

includeLine='^[[:space:]]*#[[:space:]]*include[[:space:]]*([<"])([^>"]+)[>"]'
qtHeader='^Q[A-Za-z]*(/|$)'

failures=0
report() {
    echo "$1: $2"
    failures=$((failures + 1))
}

for dir in "$root"/*/; do
    layer="$(basename "$dir")"
    case "$layer" in
    ui | app) continue ;;
    esac
    if [ -z "${allowed[$layer]+x}" ]; then
        report "$dir" "unknown layer '$layer' (add it to scripts/check-layers.sh)"
        continue
    fi
    while IFS= read -r -d '' file; do
        lineNo=0
        while IFS= read -r line || [ -n "$line" ]; do
            lineNo=$((lineNo + 1))
            [[ "$line" =~ $includeLine ]] || continue
            delimiter="${BASH_REMATCH[1]}"
            header="${BASH_REMATCH[2]}"
            where="${file#"$root"/}:$lineNo"
            if [ "$delimiter" = "<" ]; then
                if [[ "$header" =~ $qtHeader ]]; then
                    report "$where" "the $layer layer includes the Qt header <$header>"
                fi
                continue
            fi
            if [[ "$header" != */* ]]; then
                report "$where" "\"$header\": include headers by their layer folder (\"$layer/$header\")"
                continue
            fi
            target="${header%%/*}"
            if [[ " ${allowed[$layer]} " != *" $target "* ]]; then
                report "$where" "the $layer layer includes \"$header\" of the $target layer above it or beside it"
            fi
        done <"$file"
    done < <(find "$dir" -type f \( -name '*.h' -o -name '*.cpp' \) -print0 | sort -z)
done

if [ "$failures" -gt 0 ]; then
    echo "Layering check failed: $failures offending include(s)."
    exit 1
fi
echo "Layering check passed."
