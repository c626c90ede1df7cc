#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# SPDX-FileCopyrightText: 2026 The Marlowick developers
# Runs a command on a private virtual X server (1920 x 1080) with a
# simulated 32-pixel top panel, and stops the server afterwards.
# Usage: run_with_xvfb.sh COMMAND [ARGS...]
set -euo pipefail

workdir=$(mktemp -d)
xvfb_pid=
cleanup() {
    if [ -n "$xvfb_pid" ]; then
        kill "$xvfb_pid" 2>/dev/null || true
        wait "$xvfb_pid" 2>/dev/null || true
    fi
    rm -rf "$workdir"
}
trap cleanup EXIT

# The server picks a free display number and writes it to fd 3.
# -noreset: the server would otherwise reset, dropping the root window's
# properties, whenever its last client (xprop below) disconnects.
Xvfb -displayfd 3 -screen 0 1920x1080x24 -nolisten tcp -noreset 3>"$workdir/display" 2>"$workdir/xvfb.log" &
xvfb_pid=$!
for _ in $(seq 300); do
    [ -s "$workdir/display" ] && break
    if ! kill -0 "$xvfb_pid" 2>/dev/null; then
        cat "$workdir/xvfb.log" >&2
        exit 1
    fi
    sleep 0.1
done
if [ ! -s "$workdir/display" ]; then
    echo "Xvfb did not start within 30 s" >&2
    cat "$workdir/xvfb.log" >&2
    exit 1
fi
export DISPLAY=":$(head -n1 "$workdir/display")"
export QT_QPA_PLATFORM=xcb

# A bare X server has no desktop panel; this is what one 32 pixels high
# announces, and Qt reads it as the screen's available geometry.
xprop -root -f _NET_WORKAREA 32c -set _NET_WORKAREA "0, 32, 1920, 1048"

"$@"
