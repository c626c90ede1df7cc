#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# SPDX-FileCopyrightText: 2026 The Marlowick developers
# Starts the program again and again on an X server that has no other client
# and resets whenever its last one leaves (Xvfb without -noreset), as a bare
# X session may. A program that let go of the display between checking it and
# Qt's connecting failed now and then; none may fail here.
# Usage: bare_x_server_starts.sh PROGRAM [STARTS]
set -uo pipefail
program=$1
starts=${2:-35}
home=$(mktemp -d)
trap 'kill "$xvfb" 2>/dev/null; wait "$xvfb" 2>/dev/null; rm -rf "$home"' EXIT
mkdir -m 700 "$home/runtime"
export XDG_CONFIG_HOME=$home/config XDG_STATE_HOME=$home/state XDG_RUNTIME_DIR=$home/runtime
export QT_QPA_PLATFORM=xcb QT_LOGGING_RULES=marlowick.app.info=true
Xvfb -displayfd 3 -nolisten tcp -screen 0 1280x800x24 3>"$home/display" 2>/dev/null &
xvfb=$!
for _ in $(seq 400); do [ -s "$home/display" ] && break; sleep 0.05; done
export DISPLAY=:$(cat "$home/display")

failed=0
for start in $(seq "$starts"); do
    log=$home/log.$start # a new file: the shell empties a reused one only once the program runs
    "$program" 2>"$log" &
    pid=$!
    # Ready, as it says in its log, or ended.
    for _ in $(seq 800); do
        grep -qs 'ready:' "$log" && break
        kill -0 "$pid" 2>/dev/null || break
        sleep 0.025
    done
    if grep -qs 'ready:' "$log"; then
        kill -TERM "$pid"
    else
        failed=$((failed + 1))
        kill -KILL "$pid" 2>/dev/null
        wait "$pid"
        echo "start $start failed with status $?: $(head -c 400 "$log")" >&2
    fi
    wait "$pid" 2>/dev/null
done
echo "$failed of $starts starts failed"
[ "$failed" -eq 0 ]
