#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# SPDX-FileCopyrightText: 2026 The Marlowick developers
# Marlowick as a native client of headless sway, against X11 (Xvfb):
# - how long from a press on the strip to the panel's first frame (the commit
#   of its first buffer), on the program's own clock (WAYLAND_DEBUG's
#   timestamps, which cost a little themselves);
# - wake-ups (context switches of all its threads) while closed and idle;
# - resident memory after the panel has opened and closed five times, on
#   sway and on Xvfb.
#   ./bench/wayland_benchmark.sh [BUILD_DIR] [ROUNDS]
set -uo pipefail
cd "$(dirname "$0")/.."
build=${1:-build}
rounds=${2:-30}
program=$build/libexec/marlowick/marlowick-program
command=$build/src/marlowick
pointer_client=$build/tests/support/wayland/virtual_pointer
source tests/support/wayland/sway_desktop.sh
cell=benchmark
idle_seconds=10

program_process() { pgrep -P "$program_pid" | head -n1; }
rss_mb() { awk '/VmRSS/ { printf "%.1f", $2 / 1024 }' "/proc/$1/status"; }
switches() { cat /proc/"$1"/task/*/status | awk '/ctxt_switches/ { n += $2 } END { print n }'; }
panel_layers() { grep -c 'get_layer_surface(.*, 3, "marlowick")' "$desk/program.log"; }
panel_gone() { [ "$(grep -c 'zwlr_layer_surface_v1@.*destroy()' "$desk/program.log")" -gt "$1" ]; }
frames_after() { [ "$(panel_layers)" -gt "$1" ] && grep -q "attach(wl_buffer" <(tail -n +"$2" "$desk/program.log"); }

# Opens and closes the panel five times through the command, then reports
# memory and idle wake-ups of process $1 as "<rss MB> <wake-ups per s>".
open_close_idle() {
    local pid=$1 before after
    for _ in 1 2 3 4 5; do
        "${run_command[@]}" show >/dev/null 2>&1
        sleep 1
        "${run_command[@]}" toggle >/dev/null 2>&1
        sleep 1
    done
    before=$(switches "$pid")
    sleep $idle_seconds
    after=$(switches "$pid")
    echo "$(rss_mb "$pid") $(awk -v n=$((after - before)) -v s=$idle_seconds 'BEGIN { printf "%.1f", n / s }')"
}

# --- latency on sway ---------------------------------------------------------
program_environment=WAYLAND_DEBUG=1 start_desktop latency "output HEADLESS-1 resolution 1920x1080 position 0 0" \
    1920 1080 || exit 1
log=$desk/program.log
for _ in $(seq "$rounds"); do
    layers=$(panel_layers)
    gone=$(grep -c 'zwlr_layer_surface_v1@.*destroy()' "$log")
    lines=$(wc -l <"$log")
    # In one go: a rest on the strip would open the panel before the press.
    pointer click 960 0
    wait_for 10 frames_after "$layers" "$lines" || { echo "no panel after a press" >&2; cp "$log" /tmp/wl_bench_fail.log; exit 1; }
    in_desk "$root/bin/marlowick" toggle >/dev/null 2>&1
    # Its layer surface and the strip's press: both go.
    wait_for 10 panel_gone "$gone" || { echo "the panel did not close" >&2; exit 1; }
    pointer move 960 500
    sleep 0.3
done
echo "press on the strip to the panel's first frame, $rounds rounds (ms):"
awk '
    { match($0, /^\[ *[0-9.]+\]/); now = substr($0, 2, RLENGTH - 2) + 0 }
    / wl_pointer@[0-9]+\.button\(.*, 1\)$/ { if (!waiting) { press = now; waiting = 1; panel = "" } next }
    waiting && /get_layer_surface\(.*, 3, "marlowick"\)/ { match($0, /wl_surface@[0-9]+/); panel = substr($0, RSTART, RLENGTH); next }
    waiting && panel != "" && index($0, "-> " panel ".attach(wl_buffer") { attached = 1; next }
    waiting && attached && index($0, "-> " panel ".commit()") {
        print now - press; waiting = 0; attached = 0
    }
' "$log" >"$root/latencies"
echo "  in order: $(awk '{ printf "%.1f ", $1 }' "$root/latencies")"
sort -n "$root/latencies" | awk '{ v[NR] = $1 } END {
    if (NR == 0) { print "  no frames found"; exit 1 }
    printf "  median %.1f, max %.1f, min %.1f (%d frames)\n", v[int((NR + 1) / 2)], v[NR], v[1], NR }'

# --- memory and idle wake-ups: sway, then X11 ----------------------------------
program_environment= start_desktop memory "output HEADLESS-1 resolution 1920x1080 position 0 0" 1920 1080 || exit 1
run_command=(in_desk "$root/bin/marlowick")
read -r wayland_rss wayland_wakeups < <(open_close_idle "$(program_process)")

x11=$root/x11
mkdir -p "$x11/home" "$x11/run"
chmod 700 "$x11/run"
Xvfb :96 -noreset -screen 0 1920x1080x24 >/dev/null 2>&1 &
pids+=($!)
wait_for 10 test -e /tmp/.X11-unix/X96
in_x11() {
    env -i PATH=/usr/bin:/bin HOME="$x11/home" XDG_RUNTIME_DIR="$x11/run" LANG=C.UTF-8 DISPLAY=:96 "$@"
}
in_x11 env QT_LOGGING_RULES="marlowick.app.info=true" "$root/libexec/marlowick/marlowick-program" \
    >"$x11/program.log" 2>&1 &
x11_pid=$!
pids+=($x11_pid)
wait_for 30 grep -q "ready:" "$x11/program.log" || { echo "no program on X11" >&2; exit 1; }
run_command=(in_x11 "$root/bin/marlowick")
read -r x11_rss x11_wakeups < <(open_close_idle "$(pgrep -P "$x11_pid" | head -n1)")

echo "closed and idle for ${idle_seconds} s after five openings:"
echo "  sway: ${wayland_rss} MB resident, ${wayland_wakeups} wake-ups/s"
echo "  X11:  ${x11_rss} MB resident, ${x11_wakeups} wake-ups/s"
