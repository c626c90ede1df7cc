#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# SPDX-FileCopyrightText: 2026 The Marlowick developers
#
# Marlowick as a native Wayland client of headless sway, with a bar at the
# top and a terminal (foot) that has the keyboard: the pointer is a virtual
# device, keys come from wtype, pictures from grim. Each desktop is a sway of
# its own; the last cell runs weston, which has no layer shell.
#
# sway refuses to run as root: run as root (as CI does), every desktop and
# program runs as the user nobody, from copies of the binaries it can read.
#
# Usage: sway_desktop_test.sh PROGRAM COMMAND VIRTUAL_POINTER
set -uo pipefail

program=$1
command=$2
pointer_client=$3

source "$(dirname "$0")/../support/wayland/sway_desktop.sh"

# --- one output, scale 1 -----------------------------------------------------
cell="sway: start"
if start_desktop plain "output HEADLESS-1 resolution 1920x1080 position 0 0 bg #336699 solid_color" 1920 1080; then
    probe_x=960 probe_y=90
    cell="sway: resting on the strip opens the panel over the bar"
    pointer move 960 500
    panel_closed || fail "the panel shows before anything opened it"
    pointer move 960 0
    if wait_for 10 panel_open && is_pixel 960 6 000000 && is_pixel 700 6 FF8800; then pass; else fail "no panel over the bar"; fi
    [ -n "${MARLOWICK_KEEP_SHOTS:-}" ] && keep_shot panel-over-bar

    cell="sway: a quick exit through the panel closes it"
    gone=$(windows_gone)
    pointer move 960 100
    pointer move 960 700
    if wait_for 10 panel_closed; then pass; else fail "the panel stayed open"; fi

    cell="sway: a press on the strip opens the panel at once"
    # Once the closed panel's window has gone from over the strip.
    wait_for 10 gone_since "$gone" || fail "the closed panel's window stayed"
    press_on_the_strip_opens_the_panel

    cell="sway: typing after show --add lands in the panel, not the terminal"
    in_desk "$root/bin/marlowick" show --add >/dev/null 2>&1 || fail "marlowick show --add failed"
    wait_for 10 panel_open || fail "show --add opened no panel"
    in_desk wtype "buy milk" -k Return
    if wait_for 10 listed "buy milk"; then
        pass
    else
        fail "the to-do did not reach the panel: $(in_desk "$root/bin/marlowick" list 2>&1)"
    fi
    grep -q milk "$desk/home/typed" && fail "the terminal got the keys: $(cat "$desk/home/typed")"

    cell="sway: a click on the terminal closes the panel and gives it the keyboard back"
    panel_open || fail "the panel closed before the click"
    pointer move 300 700
    pointer click
    wait_for 10 panel_closed || fail "the panel stayed open"
    if wait_for 10 terminal_types; then pass; else fail "the terminal did not get the keyboard back"; fi
fi

# --- scale 2 -------------------------------------------------------------------
cell="sway scale 2: resting on the strip opens the panel"
if start_desktop scale2 "output HEADLESS-1 resolution 3840x2160 scale 2 position 0 0" 1920 1080; then
    probe_x=1920 probe_y=180
    pointer move 960 500
    pointer move 960 0
    if wait_for 10 panel_open && is_pixel 1920 10 000000; then pass; else fail "no panel"; fi
    [ -n "${MARLOWICK_KEEP_SHOTS:-}" ] && keep_shot scale2
fi

# --- two outputs, the first (Qt's primary) right of the second, at scale 1.5 ---
cell="sway two outputs: the strip of the first output opens the panel there"
if outputs=2 start_desktop two "output HEADLESS-1 resolution 1920x1080 scale 1.5 position 1920 0
output HEADLESS-2 resolution 1920x1080 position 0 0" 3200 1080; then
    probe_x=960 probe_y=135 probe_output=HEADLESS-1
    # Layout: HEADLESS-2 is 0..1920, HEADLESS-1 (1280 logical wide) 1920..3200.
    pointer move 960 500
    pointer move 960 0
    sleep 0.5
    panel_open && fail "the second output's top centre opened the panel"
    pointer move 2560 500
    pointer move 2560 0
    if wait_for 10 panel_open; then pass; else fail "no panel on the first output"; fi
    [ -n "${MARLOWICK_KEEP_SHOTS:-}" ] && keep_shot two-outputs
    probe_output=
fi

# --- a compositor without a layer shell ------------------------------------------
cell="weston: Wayland forced without a layer shell is refused"
new_home weston
"${as_user[@]}" Xvfb :97 -noreset -screen 0 1280x800x24 >"$desk/xvfb.log" 2>&1 &
pids+=($!)
wait_for 10 test -e /tmp/.X11-unix/X97 || fail "Xvfb did not start"
"${as_user[@]}" env -i PATH=/usr/bin:/bin HOME="$desk/home" XDG_RUNTIME_DIR="$desk/run" DISPLAY=:97 \
    weston --backend=x11-backend.so --socket=wayland-weston >"$desk/weston.log" 2>&1 &
pids+=($!)
if wait_for 20 test -S "$desk/run/wayland-weston"; then
    echo wayland-weston >"$desk/display"
    refusal=$(in_desk env QT_QPA_PLATFORM=wayland DISPLAY=:97 timeout 20 "$root/libexec/marlowick/marlowick-program" 2>&1)
    status=$?
    if [ $status -eq 1 ] && grep -q "no layer shell" <<<"$refusal"; then pass; else fail "status $status: $refusal"; fi
else
    fail "weston did not start: $(tail -n 5 "$desk/weston.log")"
fi

[ $failures -eq 0 ] || { echo "$failures failure(s)" >&2; exit 1; }
echo "all cells passed"
