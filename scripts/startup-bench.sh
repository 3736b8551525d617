#!/usr/bin/env bash
# Times the window's cold start under a private Xvfb: from exec until the first frame is on the
# screen, for a bare Qt Widgets window with one tab (the yardstick),
# orvik-generator alone, with the largest port form, and with that form and the question pane
# shown. The program's settings are a fresh folder's (the pane closed, no recent files) but for the
# last, whose settings have the pane open. Both programs end by
# themselves once shown (ORVIK_QUIT_WHEN_SHOWN=1). Runs are interleaved and the medians compared.
# Usage: scripts/startup-bench.sh [RUNS]   (default 40; ORVIK_BUILD_DIR picks the build, default build/,
# ORVIK_STARTUP_FILE the form, default fuzz/corpus/port.txt)
# By hand only: timings on a shared machine are no test. On a busy machine, ORVIK_BENCH_REALTIME=1
# (as root) runs the X server and the programs under the real-time scheduler, close to a quiet
# machine's timings; the runs are short and end by themselves.
set -euo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="${ORVIK_BUILD_DIR:-$here/build}"
runs="${1:-40}"
form="${ORVIK_STARTUP_FILE:-$here/fuzz/corpus/port.txt}"

"$here/scripts/install-packages.sh" --no-install-recommends xvfb x11-utils
if [ ! -f "$build/build.ninja" ]; then
    "$here/scripts/setup.sh" "$build" >&2
fi
cmake --build "$build" --target orvik-generator orvik_bare_window >&2
bare="$build/bench/orvik_bare_window"
generator="$build/orvik-generator"

work="$(mktemp -d)"
# shellcheck source=../tests/e2e/session.sh
source "$here/tests/e2e/session.sh"
trap 'end_session 1' INT TERM
start_x_server 1280x1024
realtime=()
if [ -n "${ORVIK_BENCH_REALTIME:-}" ]; then
    # shellcheck disable=SC2154 # session.sh keeps what it started, the X server first
    chrt -f -p 20 "${started[0]}"
    realtime=(chrt -f 10)
fi
export ORVIK_QUIT_WHEN_SHOWN=1 LANG=C.UTF-8
unset QT_QPA_PLATFORM
# Each run's log file is written here.
cd "$work"
mkdir -p "$work/closed" "$work/open/orvik-generator"
printf '[QuestionPane]\nOpen=true\n' >"$work/open/orvik-generator/orvik-generator.ini"
export XDG_CONFIG_HOME="$work/closed"
with_pane=(env XDG_CONFIG_HOME="$work/open")

# One run of the command: the milliseconds from exec until its first frame was shown (the program
# prints that moment), and its CPU (user + system) milliseconds for the whole run. A run that fails
# ends the bench.
TIMEFORMAT='%3U %3S'
time_run() {
    local start
    start=${EPOCHREALTIME/[.,]/}
    if ! { time "${realtime[@]}" "$@" >"$work/run.txt" 2>&1; } 2>"$work/time.txt" ||
        ! grep -q '^shown ' "$work/run.txt"; then
        echo "FAIL: $* did not show its window and end by itself" >&2
        cat "$work/run.txt" >&2
        end_session 1
    fi
    awk -v start="$start" '/^shown / {shown = $2} END {
        getline times < "'"$work/time.txt"'"; split(times, t, " ")
        printf "%.1f %.1f\n", (shown - start) / 1000, (t[1] + t[2]) * 1000 }' "$work/run.txt"
}
# The median of column $1 of standard input.
median() { awk -v c="$1" '{print $c}' | sort -n | awk '{v[NR] = $1} END {print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2}'; }

# The first runs bring the programs and libraries into the page cache.
for _ in 1 2 3; do
    time_run "$bare" >/dev/null
    time_run "$generator" >/dev/null
    time_run "$generator" "$form" >/dev/null
    time_run "${with_pane[@]}" "$generator" "$form" >/dev/null
done
rm -f "$work/bare.ms" "$work/empty.ms" "$work/form.ms" "$work/pane.ms"
for ((i = 0; i < runs; i++)); do
    time_run "$bare" >>"$work/bare.ms"
    time_run "$generator" >>"$work/empty.ms"
    time_run "$generator" "$form" >>"$work/form.ms"
    time_run "${with_pane[@]}" "$generator" "$form" >>"$work/pane.ms"
done
echo "Median of $runs runs: exec to first frame shown (wall clock), and CPU time of the whole run"
echo "(which a busy machine disturbs less):"
report() {
    local wall cpu
    wall=$(median 1 <"$2")
    cpu=$(median 2 <"$2")
    awk -v name="$1" -v w="$wall" -v c="$cpu" -v bw="$3" -v bc="$4" 'BEGIN {
        printf "  %-36s %7.1f ms  x%.2f   CPU %6.1f ms  x%.2f\n", name, w, w / bw, c, c / bc }'
}
baseWall=$(median 1 <"$work/bare.ms")
baseCpu=$(median 2 <"$work/bare.ms")
report "bare Qt window (one tab)" "$work/bare.ms" "$baseWall" "$baseCpu"
report "orvik-generator" "$work/empty.ms" "$baseWall" "$baseCpu"
report "orvik-generator $(basename "$form")" "$work/form.ms" "$baseWall" "$baseCpu"
report "orvik-generator $(basename "$form"), pane shown" "$work/pane.ms" "$baseWall" "$baseCpu"
end_session 0
