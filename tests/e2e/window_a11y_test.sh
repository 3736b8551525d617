#!/usr/bin/env bash
# The window as an assistive tool sees it: starts orvik-generator on a private X server with a window
# manager, a private session bus and a private accessibility bus, and lets a11y_driver.py read the
# tabs, pick "Cable", type a vendor name and close the window with Cancel.
# Usage: tests/e2e/window_a11y_test.sh [BUILD_DIR]   (default: $ORVIK_BUILD_DIR or build/)
set -euo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)"
build="${1:-${ORVIK_BUILD_DIR:-$here/build}}"
program="$(cd "$build" && pwd)/orvik-generator"
driver="$here/tests/e2e/a11y_driver.py"
# Debian's python3, which carries python3-pyatspi, whatever python3 comes first on the PATH.
python=/usr/bin/python3

install_missing() {
    "$here/scripts/install-packages.sh" xvfb openbox at-spi2-core dbus-x11 python3-pyatspi xdotool x11-utils fonts-dejavu-core
}

if [ ! -x "$program" ]; then
    echo "FAIL: $program is missing; build the window first (scripts/setup.sh)" >&2
    exit 1
fi
install_missing

started=()  # every process this test started, by id
work="$(mktemp -d)"
# The ids of every descendant of a process, deepest first, so children go before their parents.
descendants() {
    local child
    for child in $(ps -o pid= --ppid "$1" 2>/dev/null); do
        descendants "$child"
        echo "$child"
    done
}
stop_pid() {
    local pid="$1" i
    kill -0 "$pid" 2>/dev/null || return 0
    kill -TERM "$pid" 2>/dev/null || return 0
    for i in $(seq 50); do
        kill -0 "$pid" 2>/dev/null || return 0
        sleep 0.1
    done
    kill -KILL "$pid" 2>/dev/null || true
}
cleanup() {
    local status=$? i pid all=()
    # Newest first: the program, the buses, the window manager, then the X server.
    for ((i = ${#started[@]} - 1; i >= 0; i--)); do
        pid="${started[i]}"
        mapfile -t -O "${#all[@]}" all < <(descendants "$pid")
        all+=("$pid")
    done
    for pid in "${all[@]}"; do stop_pid "$pid"; done
    if [ $status -ne 0 ] && [ -d "$work" ]; then
        for f in "$work"/*.txt "$work"/run/*.log; do
            [ -s "$f" ] && { echo "--- $f"; tail -n 40 "$f"; echo; } >&2
        done
    fi
    rm -rf "$work"
    exit $status
}
trap cleanup EXIT
trap 'exit 130' INT TERM

# Waits up to $1 seconds for the command in the remaining arguments to succeed.
wait_for() {
    local seconds="$1" deadline
    shift
    deadline=$((SECONDS + seconds))
    until "$@"; do
        if [ $SECONDS -ge $deadline ]; then return 1; fi
        sleep 0.1
    done
}

begin=$SECONDS

# The X server picks a free display and writes its number to the pipe.
mkfifo "$work/displayfd"
Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp -noreset 3>"$work/displayfd" >"$work/xvfb.txt" 2>&1 &
started+=($!)
display=""
read -r -t 30 display <"$work/displayfd" || true
if [ -z "$display" ]; then
    echo "FAIL: Xvfb did not start" >&2
    exit 1
fi
export DISPLAY=":$display"
mkdir -m 700 "$work/xdg"
export XDG_RUNTIME_DIR="$work/xdg"
unset WAYLAND_DISPLAY XDG_SESSION_TYPE
wait_for 20 xdpyinfo >/dev/null 2>&1

# A private session bus for this test alone.
eval "$(dbus-launch --sh-syntax)"
started+=("$DBUS_SESSION_BUS_PID")
export DBUS_SESSION_BUS_ADDRESS
unset AT_SPI_BUS_ADDRESS

openbox --sm-disable >"$work/openbox.txt" 2>&1 &
started+=($!)
wm_running() { xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q "window id"; }
if ! wait_for 20 wm_running; then
    echo "FAIL: the window manager did not start" >&2
    exit 1
fi

/usr/libexec/at-spi-bus-launcher --launch-immediately >"$work/atspi.txt" 2>&1 &
started+=($!)
a11y_bus_up() { xprop -root AT_SPI_BUS 2>/dev/null | grep -q "unix:"; }
if ! wait_for 20 a11y_bus_up; then
    echo "FAIL: the accessibility bus did not start" >&2
    exit 1
fi

# The program in an empty folder of its own, so its log lands there.
mkdir "$work/run"
(
    cd "$work/run"
    export QT_QPA_PLATFORM=xcb QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 QT_ACCESSIBILITY=1 LANG=C.UTF-8
    exec "$program" >"$work/program.txt" 2>&1
) &
app_pid=$!
started+=("$app_pid")

status=0
"$python" "$driver" --pid "$app_pid" --timeout "${ORVIK_E2E_TIMEOUT:-30}" || status=$?
if [ $status -ne 0 ]; then
    echo "FAIL: the driver reported a failure ($status)" >&2
    exit 1
fi

# Cancel answered Yes: the program ends on its own, with success.
app_status=""
app_ended() { ! kill -0 "$app_pid" 2>/dev/null; }
if ! wait_for 20 app_ended; then
    echo "FAIL: orvik-generator is still running after Cancel and Yes" >&2
    exit 1
fi
wait "$app_pid" || app_status=$?
if [ -n "$app_status" ] && [ "$app_status" -ne 0 ]; then
    echo "FAIL: orvik-generator exited with status $app_status" >&2
    exit 1
fi
if ! ls "$work"/run/*.log >/dev/null 2>&1; then
    echo "FAIL: no log file in the program's folder" >&2
    exit 1
fi
echo "PASS: window end-to-end test through the accessibility bus ($((SECONDS - begin)) s)"
