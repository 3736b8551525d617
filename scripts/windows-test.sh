#!/usr/bin/env bash
# Builds the core, orvik.exe and the core tests for 64-bit Windows with the MinGW-w64 cross compiler,
# runs the tests under Wine without a display, and compares orvik.exe's round trips byte for byte
# with the Linux build's orvik.
# Usage: scripts/windows-test.sh   (ORVIK_BUILD_DIR: the Linux build, default build/;
#                                   ORVIK_WINDOWS_BUILD_DIR: default build-windows/)
set -euo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
linux_build="${ORVIK_BUILD_DIR:-$here/build}"
build="${ORVIK_WINDOWS_BUILD_DIR:-$here/build-windows}"
started=$(date +%s)

"$here/scripts/install-packages.sh" --no-install-recommends g++-mingw-w64-x86-64-posix wine64 googletest

launcher=()
if command -v ccache >/dev/null; then
    launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache -DCMAKE_C_COMPILER_LAUNCHER=ccache)
fi
if [ ! -x "$linux_build/orvik" ]; then
    "$here/scripts/setup.sh" "$linux_build" "${launcher[@]}"
fi
cmake --build "$linux_build" --target orvik
"$here/scripts/setup.sh" "$build" -DCMAKE_TOOLCHAIN_FILE="$here/cmake/mingw-w64-x86_64.cmake" \
    -DORVIK_BUILD_BENCH=OFF -DORVIK_BUILD_GUI=OFF "${launcher[@]}"

# Wine in a prefix of its own, headless, without the optional runtime installers.
wine=/usr/lib/wine/wine64
export WINEPREFIX="$build/wineprefix" WINEARCH=win64 WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
export LANG=C.UTF-8
unset DISPLAY WAYLAND_DISPLAY
if [ ! -f "$WINEPREFIX/system.reg" ]; then
    echo "Creating the Wine prefix in $WINEPREFIX"
    "$wine" wineboot --init >/dev/null 2>&1 || true
fi

echo "== Core tests under Wine =="
"$wine" "$build/tests/orvik_core_tests.exe" --gtest_brief=1 2>&1 | tr -d '\r' | tee "$build/core-tests.log" |
    grep -v '^\[       OK \]' || true
if ! grep -q '^\[  PASSED  \]' "$build/core-tests.log" || grep -q '^\[  FAILED  \]' "$build/core-tests.log"; then
    echo "Core tests failed under Wine"
    exit 1
fi

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

elapsed=$(($(date +%s) - started))
if [ "$failures" -ne 0 ]; then
    echo "$failures round-trip comparisons differ (${elapsed} s)"
    exit 1
fi
echo "Windows build under Wine: core tests and round trips passed in ${elapsed} s"
