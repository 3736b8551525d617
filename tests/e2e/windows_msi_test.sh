#!/usr/bin/env bash
# The Windows installer as a user and an administrator meet it, in a new Wine prefix on a private X
# server: a silent install; the installed window started as its Start-menu shortcut starts it (the
# target and working folder read from the installer's tables) with a port file, saving with Apply
# into the user's folder, file and log; the window at 96, 144 and 192 dots per inch, each inside a
# screen of 1366 by 768 at that scale, kept as pictures beside the installer; an installer of a
# higher version replacing it in place and the older one refusing to come back; a silent uninstall
# that removes the program and leaves the user's folder and its files.
# Usage: tests/e2e/windows_msi_test.sh MSI [LINUX_BUILD_DIR]   (the zip of the same name beside it)
set -euo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)"
msi="$(cd "$(dirname "$1")" && pwd)/$(basename "$1")"
zip="${msi%.msi}.zip"
linux_build="${2:-${ORVIK_BUILD_DIR:-$here/build}}"
orvik="$linux_build/orvik"
port="$here/fuzz/corpus/port.txt"
wine=/usr/lib/wine/wine64

"$here/scripts/install-packages.sh" --no-install-recommends wine64 xvfb openbox xdotool x11-utils imagemagick unzip \
    msitools wixl

fail() {
    echo "FAIL: $*" >&2
    exit 1
}
[ -x "$orvik" ] || fail "$orvik is missing; build the Linux tools first (scripts/setup.sh)"
[ -f "$zip" ] || fail "$zip is missing: the upgrade's installer is built from it"

work="$(mktemp -d)"
# shellcheck source=tests/e2e/session.sh
. "$here/tests/e2e/session.sh"
cleanup() {
    local status=$?
    if [ -n "${WINEPREFIX:-}" ]; then
        /usr/lib/wine/wineserver -k 2>/dev/null || true
    fi
    end_session $status
}
trap cleanup EXIT
trap 'exit 130' INT TERM
begin=$SECONDS

# Wine links the user's Documents into the home folder: a home of the test's own.
export HOME="$work/home"
mkdir -p "$HOME"
export WINEPREFIX="$work/prefix" WINEARCH=win64 WINEDEBUG=-all \
    WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
"$wine" wineboot --init >"$work/wineboot.txt" 2>&1 || true
/usr/lib/wine/wineserver -w

unix_path() { "$wine" winepath -u "$1" 2>/dev/null | tr -d '\r'; }
windows_path() { "$wine" winepath -w "$1" 2>/dev/null | tr -d '\r'; }
msiexec() { # returns msiexec's status once the prefix is idle again
    local code=0
    "$wine" msiexec "$@" >>"$work/msiexec.txt" 2>&1 || code=$?
    /usr/lib/wine/wineserver -w
    return $code
}
shell_folder() { # $1: a value of the user's Shell Folders key
    "$wine" reg query 'HKCU\Software\Microsoft\Windows\CurrentVersion\Explorer\Shell Folders' /v "$1" 2>/dev/null |
        tr -d '\r' | sed -n "s/^ *$1 *REG_SZ *//p"
}

# A row of one of the installer's tables, by the value of its first column.
row() { msiinfo export "$msi" "$1" | tr -d '\r' | awk -F'\t' -v key="$2" 'NR > 3 && $1 == key'; }
column() { cut -f"$1"; }
# A long name after the short one; "." stands for the parent folder itself.
long_name() { sed 's/^[^|]*|//'; }
declare -A standard=([PersonalFolder]=Personal [LocalAppDataFolder]="Local AppData" [ProgramMenuFolder]=Programs)
folder_of() { # $1: a Directory id; prints its Windows path
    local id="$1" path="" name parent
    until [ -n "${standard[$id]:-}" ]; do
        [ -n "$id" ] && [ "$id" != TARGETDIR ] || fail "the folder $1 is not under a folder of the user's"
        parent="$(row Directory "$id" | column 2)"
        name="$(row Directory "$id" | column 3 | long_name)"
        [ "$name" = . ] || path="\\$name$path"
        id="$parent"
    done
    echo "$(shell_folder "${standard[$id]}")$path"
}

echo "== Installing: msiexec /i $(basename "$msi") /qn"
msiexec /i "$(windows_path "$msi")" /qn || fail "msiexec /i ended with status $?"
shortcut="$(msiinfo export "$msi" Shortcut | tr -d '\r' | awk -F'\t' 'NR > 3 && $3 == "Orvik Generator"')"
[ -n "$shortcut" ] || fail "the installer has no shortcut named Orvik Generator"
target_file="$(column 5 <<<"$shortcut" | sed -n 's/^\[#\(.*\)\]$/\1/p')"
[ -n "$target_file" ] || fail "the shortcut's target is no installed file: $(column 5 <<<"$shortcut")"
exe_name="$(row File "$target_file" | column 3 | long_name)"
exe_folder="$(folder_of "$(row Component "$(row File "$target_file" | column 2)" | column 3)")"
exe="$(unix_path "$exe_folder\\$exe_name")"
start_in="$(folder_of "$(column 12 <<<"$shortcut")")"
user_folder="$(unix_path "$start_in")"
lnk="$(unix_path "$(folder_of "$(column 2 <<<"$shortcut")")\\Orvik Generator.lnk")"
echo "shortcut: $exe_folder\\$exe_name, starting in $start_in"
[ -f "$exe" ] || fail "no $exe_name installed in $exe_folder"
[ -f "$(dirname "$exe")/orvik.exe" ] || fail "no orvik.exe beside $exe_name"
[ -f "$lnk" ] || fail "no shortcut in the Start menu ($lnk)"
[ -d "$user_folder" ] || fail "the installer created no $start_in"

# The entries that "Apps" lists, from the prefix's registry files.
entries() {
    cat "$WINEPREFIX"/*.reg | tr -d '\r' | awk '/^\[/ { if (ours) print block; block = ""; ours = 0
                                                  uninstall = index($0, "\\\\Uninstall\\\\") > 0 }
        { block = block $0 "\n" } uninstall && /^"DisplayName"="Orvik Generator"$/ { ours = 1 }
        END { if (ours) print block }'
}
# (grep -q reads from a string: ending early in a pipe would fail the pipe.)
entry_has() { grep -q "^\"$1\"=\"$2\"$" <<<"$(entries)" || fail "the uninstall entry has no $1 \"$2\""; }
[ "$(entries | grep -c '^"DisplayName"=')" -eq 1 ] || fail "not one uninstall entry: $(entries)"
entry_has DisplayVersion 1.2.2.2
entry_has Publisher "Orvik Generator maintainers"
entry_has HelpLink "mailto:maintainers@orvik.io"
grep -q '^"Comments"="Describes a USB' <<<"$(entries)" || fail "the uninstall entry has no help text"
# "Apps" takes the icon from the product's registration with the installer service.
grep -q '^"ProductIcon"=.*OrvikIcon\.ico' <<<"$(tr -d '\r' <"$WINEPREFIX/user.reg")" || fail "the product has no icon"
echo "installed: one entry in Apps, 1.2.2.2, with publisher, help text and icon ($((SECONDS - begin)) s)"

start_x_server 1366x768
start_window_manager
title="Orvik Generator 1.2.2.2"
sheet=""
find_sheet() { sheet="$(xdotool search --onlyvisible --name "^$title" 2>/dev/null | head -1)"; [ -n "$sheet" ]; }
box_pattern="^${title//./\\.}\$"
box=""
find_box() { box="$(xdotool search --onlyvisible --name "$box_pattern" 2>/dev/null | head -1)"; [ -n "$box" ]; }
answer_box() { # $1: which box, for the failure's words; $2: the key that answers it (default Return)
    wait_for 20 find_box || fail "no $1 appeared"
    xdotool windowactivate --sync "$box" 2>/dev/null || true
    xdotool key "${2:-Return}"
}
start_as_shortcut() { # the arguments go to the program
    (cd "$user_folder" && exec "$wine" "$exe" "$@" >>"$work/program.txt" 2>&1) &
    app_pid=$!
    wait_for 60 find_sheet || fail "no window named '$title' appeared"
    xdotool windowactivate --sync "$sheet" 2>/dev/null || xdotool windowfocus --sync "$sheet"
    sleep 1
    eval "$(xdotool getwindowgeometry --shell "$sheet")"
}
# The buttons stand at the bottom right of the sheet, 81 pixels apart: OK, Cancel, Apply, Problems,
# Question.
click() { # $1: Apply or Cancel
    local from_right=212
    [ "$1" = Cancel ] && from_right=293
    xdotool windowactivate --sync "$sheet" 2>/dev/null || true
    xdotool mousemove --window "$sheet" $((WIDTH - from_right)) $((HEIGHT - 24)) click 1
}

echo "== Started as the Start menu starts it, with a port file from elsewhere"
mkdir "$work/elsewhere"
cp "$port" "$work/elsewhere/port.txt"
"$orvik" print "$port" >"$work/expected.orvik"
start_as_shortcut "$(windows_path "$work/elsewhere/port.txt")"
# A loaded file flags every tab but the first for review: each is visited before the save.
for _ in $(seq 16); do
    xdotool windowactivate --sync "$sheet" 2>/dev/null || true
    xdotool key ctrl+Tab
    sleep 0.3
done
saved_file() { find "$user_folder" -maxdepth 1 -name '*.txt' | head -1; }
saved() { [ -n "$(saved_file)" ]; }
click Apply
wait_for 20 saved || fail "Apply saved no file into $start_in"
answer_box "box naming the saved file"
saved="$(saved_file)"
cmp "$saved" "$work/expected.orvik" || fail "$(basename "$saved") differs from what orvik print writes"
box_gone() { ! find_box; }
wait_for 20 box_gone || fail "the box naming the saved file stayed open"
click Cancel
answer_box "cancel question" y  # its default is No: Y answers Yes
app_ended() { ! kill -0 "$app_pid" 2>/dev/null; }
wait_for 30 app_ended || fail "$exe_name still runs after Cancel and Yes"
/usr/lib/wine/wineserver -w
log="$(find "$user_folder" -maxdepth 1 -name 'OrvikGenerator_*.log' | head -1)"
[ -n "$log" ] || fail "no log file in $start_in"
echo "Apply saved $(basename "$saved") ($(wc -c <"$saved") bytes, as orvik print) and $(basename "$log") into $start_in"

echo "== The window at 96, 144 and 192 dots per inch"
for dpi in 96 144 192; do
    "$wine" reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$dpi" /f >/dev/null 2>&1
    /usr/lib/wine/wineserver -w
    screen_w=$((1366 * dpi / 96)) screen_h=$((768 * dpi / 96))
    rm -f "$work/displayfd"
    start_x_server "${screen_w}x$screen_h"
    start_window_manager
    start_as_shortcut
    shot="${msi%.msi}-${dpi}dpi.png"
    import -window root "$shot"
    echo "$dpi dpi: window ${WIDTH}x$HEIGHT at $X,$Y on ${screen_w}x$screen_h; picture $shot"
    [ "$X" -ge 0 ] && [ "$Y" -ge 0 ] && [ $((X + WIDTH)) -le "$screen_w" ] && [ $((Y + HEIGHT)) -le "$screen_h" ] ||
        fail "at $dpi dpi the window does not fit the screen"
    /usr/lib/wine/wineserver -k
    { wait "$app_pid"; } 2>/dev/null || true
done
"$wine" reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d 96 /f >/dev/null 2>&1

echo "== Upgrading: an installer of a higher version over the installed one"
# The same programs, the window marked after its end so that its copy is told from the first one's.
mkdir "$work/next"
unzip -q "$zip" -d "$work/next"
next_root="$(dirname "$(find "$work/next" -name orvik-generator.exe)")"
printf 'upgrade test\n' >>"$next_root/orvik-generator.exe"
"$here/scripts/windows-msi.sh" "$next_root" 1.2.3.0 "$work/next.msi"
msiexec /i "$(windows_path "$work/next.msi")" /qn || fail "the upgrade ended with status $?"
cmp -s "$exe" "$next_root/orvik-generator.exe" || fail "the upgrade left the older $exe_name in place"
[ "$(entries | grep -c '^"DisplayName"=')" -eq 1 ] || fail "not one uninstall entry after the upgrade: $(entries)"
entry_has DisplayVersion 1.2.3.0
[ "$(find "$(dirname "$(dirname "$exe")")" -name orvik-generator.exe | wc -l)" -eq 1 ] ||
    fail "more than one installed copy"
if msiexec /i "$(windows_path "$msi")" /qn; then fail "the older installer replaced the newer version"; fi
cmp -s "$exe" "$next_root/orvik-generator.exe" || fail "the refused older installer changed $exe_name"
entry_has DisplayVersion 1.2.3.0
echo "upgraded in place to 1.2.3.0; the older installer refused to replace it"

echo "== Uninstalling: msiexec /x /qn"
kept="$(cd "$user_folder" && find . -type f | LC_ALL=C sort)"
msiexec /x "$(windows_path "$work/next.msi")" /qn || fail "msiexec /x ended with status $?"
[ ! -e "$exe" ] || fail "$exe_name is still installed"
[ ! -e "$(dirname "$exe")" ] || fail "the program's folder is still there: $(find "$(dirname "$exe")")"
[ ! -e "$lnk" ] || fail "the Start-menu shortcut is still there"
[ -z "$(entries)" ] || fail "the uninstall entry is still there"
[ -d "$user_folder" ] || fail "the uninstall removed $start_in and its files"
[ "$(cd "$user_folder" && find . -type f | LC_ALL=C sort)" = "$kept" ] ||
    fail "the user's folder lost files: $(ls -A "$user_folder")"
echo "uninstalled; $start_in kept its $(wc -l <<<"$kept") files"
echo "PASS: the Windows installer under Wine ($((SECONDS - begin)) s)"
