#!/usr/bin/env bash
# The layering check passes on a well-layered tree and names every kind of bad include in a bad one.
set -euo pipefail
check="$1"
tree="$(mktemp -d)"
trap 'rm -rf "$tree"' EXIT
mkdir -p "$tree"/{text,model,catalog,sheet,cli,ui}
printf '#include <string>\n' >"$tree/text/Text.h"
printf '#include "text/Text.h"\n#include <vector>\n' >"$tree/model/Field.h"
printf '#include "model/Field.h"\n' >"$tree/catalog/Rules.cpp"
printf '#include "catalog/Rules.h"\n#include "model/Field.h"\n' >"$tree/sheet/Sheet.cpp"
printf '#include "sheet/Sheet.h"\n' >"$tree/cli/Main.cpp"
printf '#include <QWidget>\n#include "cli/Main.h"\n' >"$tree/ui/Window.cpp"
"$check" "$tree" >/dev/null || { echo "a well-layered tree was refused"; exit 1; }

printf '#include "catalog/Rules.h"\n' >>"$tree/model/Field.h"
printf '  #  include "sheet/Sheet.h"\n' >>"$tree/catalog/Rules.cpp"
printf '#include <QtCore/QString>\n#include <QObject>\n' >>"$tree/sheet/Sheet.cpp"
printf '#include "Rules.h"\n' >>"$tree/catalog/Rules.cpp"
printf '#include "ui/Window.h"\n' >>"$tree/cli/Main.cpp"
set +e
output="$("$check" "$tree")"
status=$?
set -e
expected='catalog/Rules.cpp:2: the catalog layer includes "sheet/Sheet.h" of the sheet layer above it or beside it
catalog/Rules.cpp:3: "Rules.h": include headers by their layer folder ("catalog/Rules.h")
cli/Main.cpp:2: the cli layer includes "ui/Window.h" of the ui layer above it or beside it
model/Field.h:3: the model layer includes "catalog/Rules.h" of the catalog layer above it or beside it
sheet/Sheet.cpp:3: the sheet layer includes the Qt header <QtCore/QString>
sheet/Sheet.cpp:4: the sheet layer includes the Qt header <QObject>
Layering check failed: 6 offending include(s).'
if [ "$status" -ne 1 ] || [ "$output" != "$expected" ]; then
    echo "exit status $status, output:"
    echo "$output"
    exit 1
fi
echo "ok"
