#!/usr/bin/env bash
# Builds everything for 64-bit Windows with the MinGW-w64 cross compiler and a static Qt for Windows
# (scripts/qt-windows.sh, cached outside the clone): the core, orvik.exe, orvik-generator.exe and the
# core and window test suites. Runs the suites under Wine (the window's on the offscreen platform,
# as on Linux) and compares their counts with the Linux build's, compares orvik.exe's round trips
# byte for byte with the Linux build's orvik, writes the zip and the installer
# (scripts/package-windows.sh), runs the window from the zip in a new Wine prefix on a private X
# server (tests/e2e/windows_window_test.sh) and the installer through install, upgrade and uninstall
# in another (tests/e2e/windows_msi_test.sh).
# Usage: scripts/windows-test.sh   (ORVIK_BUILD_DIR: the Linux build, default build/;
#                                   ORVIK_WINDOWS_BUILD_DIR: default build-windows/)
set -euo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
linux_build="${ORVIK_BUILD_DIR:-$here/build}"
build="${ORVIK_WINDOWS_BUILD_DIR:-$here/build-windows}"
started=$(date +%s)

"$here/scripts/install-packages.sh" --no-install-recommends g++-mingw-w64-x86-64-posix wine64 googletest \
    fonts-dejavu-core

echo "== Qt for Windows =="
qt="$("$here/scripts/qt-windows.sh" | tail -1)"

launcher=()
if command -v ccache >/dev/null; then
    launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache -DCMAKE_C_COMPILER_LAUNCHER=ccache)
fi
if [ ! -x "$linux_build/orvik" ]; then
    "$here/scripts/setup.sh" "$linux_build" "${launcher[@]}"
fi
cmake --build "$linux_build" --target orvik

# Wine in a prefix of its own, headless, without the optional runtime installers.
wine=/usr/lib/wine/wine64
export WINEPREFIX="$build/wineprefix" WINEARCH=win64 WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
export LANG=C.UTF-8
unset DISPLAY WAYLAND_DISPLAY

echo "== Building for Windows =="
# A build configured against another Qt for Windows (an older cache entry) is configured afresh.
toolchain="$qt/lib/cmake/Qt6/qt.toolchain.cmake"
if [ -f "$build/CMakeCache.txt" ] &&
    [ "$(sed -n 's/^CMAKE_TOOLCHAIN_FILE:[A-Z]*=//p' "$build/CMakeCache.txt")" != "$toolchain" ]; then
    echo "Qt for Windows changed: configuring $build afresh"
    rm -rf "$build/CMakeCache.txt" "$build/CMakeFiles"
fi
# Qt's own toolchain file finds the Windows Qt and hands the compilers to the project's MinGW-w64
# toolchain; test programs run under Wine.
"$here/scripts/setup.sh" "$build" -DCMAKE_TOOLCHAIN_FILE="$toolchain" \
    -DQT_CHAINLOAD_TOOLCHAIN_FILE="$here/cmake/mingw-w64-x86_64.cmake" -DCMAKE_CROSSCOMPILING_EMULATOR="$wine" \
    -DORVIK_BUILD_BENCH=OFF "${launcher[@]}"

if [ ! -f "$WINEPREFIX/system.reg" ]; then
    echo "Creating the Wine prefix in $WINEPREFIX"
    "$wine" wineboot --init >/dev/null 2>&1 || true
fi
# Wine hands no QT_ variable of the Unix environment on to Windows programs, so the prefix's own user
# environment carries what the window suites need: the offscreen platform, which on Windows reads
# its fonts from one folder (the same fonts as on Linux), and Qt Test's report on standard output
# rather than the debugger's channel.
for setting in QT_QPA_PLATFORM=offscreen 'QT_QPA_FONTDIR=Z:\usr\share\fonts\truetype\dejavu' \
    QT_FORCE_STDERR_LOGGING=1; do
    "$wine" reg add 'HKCU\Environment' /v "${setting%%=*}" /d "${setting#*=}" /f >/dev/null 2>&1
done
/usr/lib/wine/wineserver -w

echo "== Core and window tests under Wine =="
ctest --test-dir "$build" --parallel "$(nproc)" --output-on-failure --timeout 600 2>&1 | tr -d '\r' |
    tee "$build/tests.log" | grep -v '^ *[0-9]*/[0-9]* Test *#[0-9]*: .* Passed' || true
if ! grep -q '^100% tests passed' "$build/tests.log"; then
    echo "Tests failed under Wine"
    exit 1
fi

# Every window suite runs as many test functions (and data rows) on Windows as on Linux.
totals() {
    awk '{ sub(/\r$/, "") }
         /^[0-9]+\/[0-9]+ Testing: / { name = $3 ~ /^ui\./ ? $3 : "" }
         /^Totals: / && name != "" { print name, $2, $4, $6; name = "" }' "$1" | LC_ALL=C sort
}
if ! grep -q '^[0-9]*/[0-9]* Testing: ui\.' "$linux_build/Testing/Temporary/LastTest.log" 2>/dev/null; then
    (cd "$linux_build" && QT_QPA_PLATFORM=offscreen ctest -R '^ui\.' --parallel "$(nproc)" >/dev/null)
fi
totals "$linux_build/Testing/Temporary/LastTest.log" >"$build/ui-totals.linux"
totals "$build/Testing/Temporary/LastTest.log" >"$build/ui-totals.windows"
if ! cmp -s "$build/ui-totals.linux" "$build/ui-totals.windows"; then
    echo "The window suites ran differently on Windows (suite, passed, failed, skipped):"
    diff "$build/ui-totals.linux" "$build/ui-totals.windows" || true
    exit 1
fi
echo "Window suites under Wine: $(wc -l <"$build/ui-totals.windows") suites, $(awk '{ n += $2 } END { print n }' \
    "$build/ui-totals.windows") passed, the same as on Linux"

echo "== orvik.exe round trips against the Linux build =="
work="$build/roundtrip"
rm -rf "$work"
mkdir -p "$work/linux" "$work/windows"
linux_tool="$linux_build/orvik"
windows_tool="$build/orvik.exe"

# Runs the same command line in each tool's own folder: stdout, stderr and exit code go to files
# named after the step, the first argument.
run_in() {
    local step="$1" side="$2"
    shift 2
    local code=0
    (cd "$work/$side" && "$@" >"../$step.$side.out" 2>"../$step.$side.err") || code=$?
    echo "$code" >"$work/$step.$side.code"
}
run_both() {
    local step="$1"
    shift
    run_in "$step" linux "$linux_tool" "$@"
    run_in "$step" windows "$wine" "$windows_tool" "$@"
}

failures=0
same() {
    local what="$1" a="$2" b="$3"
    if cmp -s "$a" "$b"; then
        echo "  same: $what ($(wc -c <"$a") bytes)"
    else
        echo "  DIFFERENT: $what"
        diff <(od -c "$a") <(od -c "$b") | head -20 || true
        failures=$((failures + 1))
    fi
}
same_run() {
    local step="$1"
    same "$step: exit code $(cat "$work/$step.linux.code")" "$work/$step.linux.code" "$work/$step.windows.code"
    same "$step: standard output" "$work/$step.linux.out" "$work/$step.windows.out"
    same "$step: standard error" "$work/$step.linux.err" "$work/$step.windows.err"
}
same_tree() {
    local what="$1" folder="$2"
    (cd "$work/linux" && find "$folder" | LC_ALL=C sort) >"$work/files.linux"
    (cd "$work/windows" && find "$folder" | LC_ALL=C sort) >"$work/files.windows"
    same "$what: file names" "$work/files.linux" "$work/files.windows"
    local f
    while IFS= read -r f; do
        same "$what: $f" "$work/linux/$f" "$work/windows/$f"
    done < <(cd "$work/linux" && find "$folder" -type f | LC_ALL=C sort)
}

settings=()
while IFS= read -r line; do
    [ -n "$line" ] && settings+=(--set "$line")
done <"$here/scripts/windows-test-port.txt"
vendor_accented=(--set '$Vendor_Name=Café Åsa')

mkdir -p "$work/linux/out" "$work/windows/out"
run_both new-save new "${settings[@]}" --save out
same_run new-save
same_tree "new --save" out
saved="out/Ab-Co__M-1__2__123__P1.txt"
run_both check check "$saved"
same_run check
run_both print print "$saved"
same_run print
run_both new-print new "${settings[@]}" --print
same_run new-print
same "new --print equals the saved file" "$work/new-print.linux.out" "$work/linux/$saved"

mkdir -p "$work/linux/accented" "$work/windows/accented"
run_both accented-save new "${settings[@]}" "${vendor_accented[@]}" --save accented
same_run accented-save
same_tree "vendor name with accents" accented
run_both accented-print print "accented/Café-Åsa__M-1__2__123__P1.txt"
same_run accented-print
# A character beyond the first 65536 is two wide units on Windows: still one '?' in the file.
mkdir -p "$work/linux/astral" "$work/windows/astral"
run_both astral-save new "${settings[@]}" --set $'$Vendor_Name=Ab \U1F600' --save astral
same_run astral-save
same_tree "vendor name beyond the first 65536 characters" astral

for side in linux windows; do
    cp "$work/$side/$saved" "$work/$side/input.txt"
    printf 'an earlier, longer file that the save replaces\r\n%.0s' {1..200} >"$work/$side/$saved"
done
run_both save-over save input.txt --dir out
same_run save-over
same_tree "saving over an existing file" out
run_both save-over-again new "${settings[@]}" --save out
same_run save-over-again
same_tree "saving the same file again" out

run_both missing-folder new "${settings[@]}" --save "no/such/folder"
same_run missing-folder
same_tree "saving into a missing folder" .

run_both missing-file print "no/such/file.txt"
same_run missing-file

if [ "$failures" -ne 0 ]; then
    echo "$failures round-trip comparisons differ ($(($(date +%s) - started)) s)"
    exit 1
fi

echo "== The Windows zip and installer =="
zip="$("$here/scripts/package-windows.sh" "$build" "$qt" | tail -1)"
echo "$zip"

echo "== The window from the zip, in a new Wine prefix on a private X server =="
"$here/tests/e2e/windows_window_test.sh" "$zip" "$linux_build"

echo "== The installer: install, start and save, three display scales, upgrade, uninstall =="
"$here/tests/e2e/windows_msi_test.sh" "${zip%.zip}.msi" "$linux_build"

echo "Windows build under Wine: tests, round trips, zip, window and installer passed in $(($(date +%s) - started)) s"
