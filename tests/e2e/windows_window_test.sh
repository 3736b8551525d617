#!/usr/bin/env bash
# The Windows window as a vendor meets it: unpacks the zip into a new Wine prefix with nothing else
# installed, starts orvik-generator.exe with a complete port file on a private X server with a window
# manager, visits every tab, saves with Apply and closes with Cancel. The saved bytes must be what
# the Linux orvik prints for the same file, and the log must run from the producer line to
# "Shutting down logger." in CR LF lines. A screenshot of the window is kept beside the zip.
# Usage: tests/e2e/windows_window_test.sh ZIP [LINUX_BUILD_DIR]
set -euo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)"
zip="$(cd "$(dirname "$1")" && pwd)/$(basename "$1")"
linux_build="${2:-${ORVIK_BUILD_DIR:-$here/build}}"
orvik="$linux_build/orvik"
port="$here/fuzz/corpus/port.txt"
shot="${zip%.zip}-window.png"
wine=/usr/lib/wine/wine64

"$here/scripts/install-packages.sh" --no-install-recommends wine64 xvfb openbox xdotool x11-utils imagemagick unzip

fail() {
    echo "FAIL: $*" >&2
    exit 1
}
[ -x "$orvik" ] || fail "$orvik is missing; build the Linux tools first (scripts/setup.sh)"

work="$(mktemp -d)"
# shellcheck source=tests/e2e/session.sh
. "$here/tests/e2e/session.sh"
cleanup() {
    local status=$?
    # The program and Wine's own processes go with the prefix's server.
    if [ -n "${WINEPREFIX:-}" ]; then
        /usr/lib/wine/wineserver -k 2>/dev/null || true
    fi
    end_session $status
}
trap cleanup EXIT
trap 'exit 130' INT TERM

begin=$SECONDS

mkdir "$work/app" "$work/run"
unzip -q "$zip" -d "$work/app"
app="$(find "$work/app" -name orvik-generator.exe)"
[ -n "$app" ] || fail "the zip holds no orvik-generator.exe"

start_x_server 1366x768
start_window_manager

export WINEPREFIX="$work/prefix" WINEARCH=win64 WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
"$wine" wineboot --init >"$work/wineboot.txt" 2>&1 || true
/usr/lib/wine/wineserver -w

cp "$port" "$work/run/port.txt"
"$orvik" print "$port" >"$work/expected.orvik"
(cd "$work/run" && exec "$wine" "$app" port.txt >"$work/program.txt" 2>&1) &
app_pid=$!

title="Orvik Generator 1.2.2.2"
sheet=""
find_sheet() { sheet="$(xdotool search --onlyvisible --name "^$title" 2>/dev/null | head -1)"; [ -n "$sheet" ]; }
wait_for 60 find_sheet || fail "no window named '$title' appeared"
echo "window up after $((SECONDS - begin)) s: $(xdotool getwindowname "$sheet")"
xdotool windowactivate --sync "$sheet" 2>/dev/null || xdotool windowfocus --sync "$sheet"
sleep 1

# The buttons stand at the bottom right of the sheet, 81 pixels apart: OK, Cancel, Apply, Problems,
# Question.
eval "$(xdotool getwindowgeometry --shell "$sheet")"
click() { # $1: Apply or Cancel
    local from_right=212
    [ "$1" = Cancel ] && from_right=293
    xdotool windowactivate --sync "$sheet" 2>/dev/null || true
    xdotool mousemove --window "$sheet" $((WIDTH - from_right)) $((HEIGHT - 24)) click 1
}

# A loaded file flags every tab but the first for review: visit each one with Ctrl+Tab. The source
# and sink pages open their information windows beside the sheet, so the sheet is made the active
# window again before each key.
for _ in $(seq 16); do
    xdotool windowactivate --sync "$sheet" 2>/dev/null || true
    xdotool key ctrl+Tab
    sleep 0.3
done
import -window root "$shot"
echo "screenshot: $shot"

saved_file() { find "$work/run" -maxdepth 1 -name '*.txt' ! -name port.txt | head -1; }
saved() { [ -n "$(saved_file)" ]; }
click Apply
wait_for 20 saved || fail "Apply saved no file"
# A box is captioned with the title alone, the sheet with the file's name after it.
box_pattern="^${title//./\\.}\$"
box=""
find_box() { box="$(xdotool search --onlyvisible --name "$box_pattern" 2>/dev/null | head -1)"; [ -n "$box" ]; }
answer_box() { # $1: which box, for the failure's words; $2: the key that answers it (default Return)
    wait_for 20 find_box || fail "no $1 appeared"
    xdotool windowactivate --sync "$box" 2>/dev/null || true
    xdotool key "${2:-Return}"
}
answer_box "box naming the saved file"
saved="$(saved_file)"
cmp "$saved" "$work/expected.orvik" || fail "$(basename "$saved") differs from what orvik print writes"
echo "Apply saved $(basename "$saved"), $(wc -c <"$saved") bytes, the same as orvik print"

box_gone() { ! find_box; }
wait_for 20 box_gone || fail "the box naming the saved file stayed open"
click Cancel
answer_box "cancel question" y  # its default is No: Y answers Yes
app_ended() { ! kill -0 "$app_pid" 2>/dev/null; }
wait_for 30 app_ended || fail "orvik-generator.exe still runs after Cancel and Yes"
wait "$app_pid" || fail "orvik-generator.exe exited with status $?"

log="$(find "$work/run" -maxdepth 1 -name 'OrvikGenerator_*.log' | head -1)"
[ -n "$log" ] || fail "no log file in the program's folder"
head -1 "$log" | grep -q $'Marnel File Generator, Version 1\\.2\\.2\\.2\r$' ||
    fail "the log does not start with the producer line"
tail -1 "$log" | grep -q $'Shutting down logger\\.\r$' || fail "the log does not end with 'Shutting down logger.'"
if grep -v -q $'\r$' "$log"; then fail "a log line does not end in CR LF"; fi
echo "log: $(wc -l <"$log") CR LF lines, from \"$(head -1 "$log" | tr -d '\r' | cut -c1-60)\" to \"Shutting down logger.\""
echo "PASS: the Windows window from the zip under Wine ($((SECONDS - begin)) s)"
