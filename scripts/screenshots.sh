#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# SPDX-FileCopyrightText: 2026 The Marlowick developers
# Takes screenshots of the panel under a virtual X server with a compositing
# manager: closed, opening, open with five to-dos, editing a title in place
# and an empty other day. Needs a build in ./build; writes PNGs to the folder
# given (default build/screenshots), each the 380 × 520 panel window.
set -euo pipefail
cd "$(dirname "$0")/.."
out=${1:-build/screenshots}
mkdir -p "$out"
preview=./build/tools/marlowick_panel_preview
display=:${MARLOWICK_SCREENSHOT_DISPLAY:-93}

Xvfb "$display" -screen 0 1920x1080x24 -nolisten tcp >/dev/null 2>&1 &
xvfb=$!
export DISPLAY=$display
cleanup() { kill "${app:-}" "${compositor:-}" "$xvfb" 2>/dev/null || true; }
trap cleanup EXIT
for _ in $(seq 50); do xdpyinfo >/dev/null 2>&1 && break; sleep 0.1; done
xcompmgr >/dev/null 2>&1 &
compositor=$!

# The window lies at x 770..1150, y 0..520 of the screen.
shot() { import -window root -crop 380x520+770+0 +repage "$out/$1.png"; }
start() { "$preview" "$@" >"$out/.log" 2>&1 & app=$!; }
# Waits until the preview has set the panel open.
opened() { for _ in $(seq 500); do grep -q opened "$out/.log" && return; sleep 0.01; done; }
stop() { kill "$app" 2>/dev/null; wait "$app" 2>/dev/null || true; }

start --sample --open-after -1; sleep 2; shot closed; stop
start --sample --open-after 1500; opened; sleep 0.06; shot opening; stop
start --sample; sleep 2.5; shot open; stop
start --sample; sleep 2.5
xdotool mousemove 850 86 click --repeat 2 --delay 60 1
sleep 0.6; xdotool type --delay 40 ' and bread'; sleep 0.4; shot editing; stop
start --day -3; sleep 2.5; shot empty-day; stop
start --sample --draft 'Pick up the parcel'; sleep 2.5; xdotool mousemove 900 235; sleep 0.6; shot hover-and-draft; stop

rm -f "$out/.log"
echo "Screenshots in $out"
