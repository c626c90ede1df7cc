#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# SPDX-FileCopyrightText: 2026 The Marlowick developers
#
# Marlowick as a native Wayland client of KDE's KWin, headless (--virtual),
# on a white wallpaper (swaybg) with a window that has the keyboard and logs
# the keys and clicks it gets (weston-eventdemo): the pointer and keys come
# through KDE's fake input protocol, pictures through KWin's screenshot
# interface on a session bus of the desktop's own. KWin checks neither here
# (KWIN_WAYLAND_NO_PERMISSION_CHECKS, KWIN_SCREENSHOT_NO_PERMISSION_CHECKS):
# only this private compositor lets any client use them.
#
# Run as root (as CI does), KWin and the program run as the user nobody.
#
# Usage: kwin_desktop_test.sh PROGRAM COMMAND FAKE_INPUT
set -uo pipefail

program=$1
command=$2
pointer_client=$3
support=$(dirname "$0")/../support/wayland

tools=(kwin_wayland dbus-daemon swaybg weston-eventdemo stdbuf python3)
source "$support/wayland_desktop.sh"
cp "$support/kwin_pixel.py" "$root/bin/kwin-pixel"
# A copy without the file capability (CAP_SYS_RESOURCE) Debian gives KWin:
# a container whose bounding set lacks it refuses to run the original.
cp "$(command -v kwin_wayland)" "$root/bin/kwin_wayland"
chmod a+rx "$root/bin/kwin-pixel" "$root/bin/kwin_wayland"
# The first failing cell ends the test (the cells build on each other).
fail() {
    echo "FAIL [$cell]: $*" >&2
    exit 1
}

# pixel X Y: the colour (RRGGBB) KWin shows at X,Y now.
pixel() { in_desk python3 "$root/bin/kwin-pixel" "$1" "$2" 2>/dev/null; }
kwin_listens() { test -S "$desk/run/wayland-kwin" && pixel 0 0 >/dev/null; }
# The window's key presses so far.
window_keys() { grep -c "state: pressed" "$desk/window.log"; }
window_typed() { [ "$(window_keys)" -gt "$1" ]; }
# How often the window got the keyboard, and lost it; seen_more PATTERN
# COUNT: true once the window's log holds more than COUNT lines with PATTERN.
got_keyboard="^focus x:"
seen() { grep -c "$1" "$desk/window.log"; }
seen_more() { [ "$(seen "$1")" -gt "$2" ]; }
window_has_keyboard() { grep "^focus" "$desk/window.log" | tail -n 1 | grep -q "$got_keyboard"; }
window_lost_keyboard() { ! window_has_keyboard; }
# The layer surfaces the program asked for on LAYER (2 top, 3 overlay), as
# WAYLAND_DEBUG shows its requests.
layer_surface() { grep -qE "zwlr_layer_shell_v1@[0-9]+\.get_layer_surface\(.*, $1, \"" "$desk/program.log"; }

cell="kwin: start"
new_home kwin
desk_env=(DBUS_SESSION_BUS_ADDRESS="unix:path=$desk/run/bus")
echo wayland-kwin >"$desk/display"
in_desk dbus-daemon --session --nofork --address="unix:path=$desk/run/bus" >"$desk/dbus.log" 2>&1 &
pids+=($!)
wait_for 10 test -S "$desk/run/bus" || fail "no session bus: $(cat "$desk/dbus.log")"
in_desk env -u WAYLAND_DISPLAY KWIN_WAYLAND_NO_PERMISSION_CHECKS=1 KWIN_SCREENSHOT_NO_PERMISSION_CHECKS=1 \
    "$root/bin/kwin_wayland" --virtual --width 1920 --height 1080 --socket wayland-kwin \
    --no-lockscreen --no-global-shortcuts --no-kactivities >"$desk/kwin.log" 2>&1 &
pids+=($!)
wait_for 30 kwin_listens || fail "KWin did not start: $(tail -n 5 "$desk/kwin.log")"
in_desk swaybg -c '#ffffff' >"$desk/swaybg.log" 2>&1 &
pids+=($!)
in_desk stdbuf -oL weston-eventdemo -w 600 -h 400 --log-key --log-focus >"$desk/window.log" 2>&1 &
pids+=($!)
wait_for 10 window_has_keyboard || fail "the window did not get the keyboard: $(cat "$desk/window.log")"
wait_for 10 is_pixel 960 90 FFFFFF || fail "no white wallpaper: $(cat "$desk/swaybg.log")"
start_input
# The program's requests, to see which layer surfaces it makes.
program_environment="WAYLAND_DEBUG=1" start_program
probe_x=960 probe_y=90

cell="kwin: the program is a native client with the strip on the top layer"
if wait_for 10 layer_surface 2; then pass; else fail "no layer surface on the top layer"; fi

cell="kwin: resting on the strip opens the panel on the overlay layer"
pointer move 960 500
panel_closed || fail "the panel shows before anything opened it"
pointer move 960 0
wait_for 10 panel_open || fail "no panel: $(grep "open:" "$desk/program.log")"
grep -q "open: the pointer rested on the strip" "$desk/program.log" || fail "$(grep "open:" "$desk/program.log")"
layer_surface 3 || fail "the panel is not a layer surface on the overlay layer"
# Layer shell version 3: the panel takes the keyboard while open.
if wait_for 10 window_lost_keyboard; then pass; else fail "the window kept the keyboard"; fi

cell="kwin: a quick exit through the panel closes it and gives the window the keyboard back"
pointer move 960 100
pointer move 960 700
wait_for 10 panel_closed || fail "the panel stayed open"
wait_for 10 gone_since 0 || fail "the panel's window stayed"
if wait_for 10 window_has_keyboard; then pass; else fail "the window did not get the keyboard back"; fi

cell="kwin: a press on the strip opens the panel at once"
press_on_the_strip_opens_the_panel

cell="kwin: typing after show --add lands in the panel, not the window"
keys=$(window_keys)
in_desk "$root/bin/marlowick" show --add >/dev/null 2>&1 || fail "marlowick show --add failed"
wait_for 10 panel_open || fail "show --add opened no panel"
wait_for 10 window_lost_keyboard || fail "the window kept the keyboard"
pointer type buy milk
pointer key Return
wait_for 10 listed "buy milk" || fail "the to-do did not reach the panel: $(in_desk "$root/bin/marlowick" list 2>&1)"
if [ "$(window_keys)" -eq "$keys" ]; then pass; else fail "the window got the keys: $(tail -n 4 "$desk/window.log")"; fi

cell="kwin: a click on the window closes the panel and gives it the keyboard back"
panel_open || fail "the panel closed before the click"
got=$(seen "$got_keyboard")
pointer click 960 540
wait_for 10 panel_closed || fail "the panel stayed open"
wait_for 10 seen_more "$got_keyboard" "$got" || fail "the window did not get the keyboard back"
keys=$(window_keys)
pointer type after
if wait_for 10 window_typed "$keys"; then pass; else fail "the window did not get the keyboard back"; fi

cell="kwin: Escape closes the panel and gives the window the keyboard back"
got=$(seen "$got_keyboard")
in_desk "$root/bin/marlowick" show >/dev/null 2>&1 || fail "marlowick show failed"
wait_for 10 panel_open || fail "show opened no panel"
wait_for 10 window_lost_keyboard || fail "the window kept the keyboard"
pointer key Escape
wait_for 10 panel_closed || fail "the panel stayed open"
if wait_for 10 seen_more "$got_keyboard" "$got"; then pass; else fail "the window did not get the keyboard back"; fi

echo "all cells passed"
