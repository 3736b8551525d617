# A private X session for the end-to-end tests, sourced by them: an X server on a free display and
# a window manager (without one no window is ever activated and the keyboard never arrives), every
# process the test starts stopped again by its own id, and the test's logs shown when it fails.
# The sourcing script sets `work` (its temporary folder) and adds what it starts to `started`.

started=()

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
# Newest first: the program, the buses, the window manager, then the X server.
stop_started() {
    local i pid all=()
    for ((i = ${#started[@]} - 1; i >= 0; i--)); do
        pid="${started[i]}"
        mapfile -t -O "${#all[@]}" all < <(descendants "$pid")
        all+=("$pid")
    done
    for pid in "${all[@]}"; do stop_pid "$pid"; done
}
# The tail of every output and log the test kept, for a failure's report.
show_logs() {
    local f
    [ -d "$work" ] || return 0
    for f in "$work"/*.txt "$work"/run/*.log; do
        [ -s "$f" ] && { echo "--- $f"; tail -n 40 "$f"; echo; } >&2
    done
}

# Ends the test with status $1: stops what it started, shows its logs when it failed, removes its
# folder.
end_session() {
    stop_started
    if [ "$1" -ne 0 ]; then show_logs; fi
    rm -rf "$work"
    exit "$1"
}

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

# Starts Xvfb with a screen of $1 (WIDTHxHEIGHT) on a display it picks itself, and exports DISPLAY.
start_x_server() {
    local display=""
    mkfifo "$work/displayfd"
    Xvfb -displayfd 3 -screen 0 "$1x24" -nolisten tcp -noreset 3>"$work/displayfd" >"$work/xvfb.txt" 2>&1 &
    started+=($!)
    read -r -t 30 display <"$work/displayfd" || true
    if [ -z "$display" ]; then
        echo "FAIL: Xvfb did not start" >&2
        exit 1
    fi
    export DISPLAY=":$display"
    unset WAYLAND_DISPLAY XDG_SESSION_TYPE
    wait_for 20 xdpyinfo >/dev/null 2>&1
}

wm_running() { xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q "window id"; }
start_window_manager() {
    openbox --sm-disable >"$work/openbox.txt" 2>&1 &
    started+=($!)
    if ! wait_for 20 wm_running; then
        echo "FAIL: the window manager did not start" >&2
        exit 1
    fi
}
