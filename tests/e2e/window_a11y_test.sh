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

work="$(mktemp -d)"
# shellcheck source=tests/e2e/session.sh
. "$here/tests/e2e/session.sh"
trap 'end_session $?' EXIT
trap 'exit 130' INT TERM

begin=$SECONDS

# A small laptop's screen: the whole window, title bar included, must fit on it.
start_x_server 1366x768
mkdir -m 700 "$work/xdg"
export XDG_RUNTIME_DIR="$work/xdg"
# The window keeps recovery copies and recent files in the user's folders: a run of this test
# uses its own, so a copy left by a killed run never asks the next one to restore it.
export XDG_DATA_HOME="$work/data" XDG_CONFIG_HOME="$work/config"

# A private session bus for this test alone.
eval "$(dbus-launch --sh-syntax)"
started+=("$DBUS_SESSION_BUS_PID")
export DBUS_SESSION_BUS_ADDRESS
unset AT_SPI_BUS_ADDRESS

start_window_manager

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
