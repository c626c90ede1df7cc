# SPDX-License-Identifier: GPL-3.0-or-later
# SPDX-FileCopyrightText: 2026 The Marlowick developers
#
# Headless sway desktops for the tests and benchmarks, sourced by them: each
# desktop is a sway of its own with an orange bar at the top and a white foot
# terminal that holds the keyboard, a virtual pointer, a keyboard (wtype) and
# Marlowick started from copies of the binaries. sway refuses to run as root:
# as root, every desktop and program runs as the user nobody.
#
# Set before sourcing: program, command, pointer_client (the binaries).

tools=(sway swaybar swaymsg foot grim wtype convert weston Xvfb)
source "$(dirname "${BASH_SOURCE[0]}")/wayland_desktop.sh"

wayland_socket() { (cd "$desk/run" && ls wayland-? 2>/dev/null | head -n1); }
sway_listens() { [ -n "$(wayland_socket)" ] && compgen -G "$desk/run/sway-ipc.*" >/dev/null; }

# start_desktop NAME OUTPUT_CONFIG: sway with an orange bar at the top, a
# keyboard, the pointer, a white terminal holding the keyboard, Marlowick.
start_desktop() {
    new_home "$1"
    cat >"$desk/home/sway.conf" <<EOF
$2
bar {
    position top
    status_command while echo bar; do sleep 3600; done
    colors {
        background #ff8800
        statusline #000000
    }
}
EOF
    [ -n "$owner" ] && chown "$owner" "$desk/home/sway.conf"
    echo >"$desk/display"
    "${as_user[@]}" env -i PATH=/usr/bin:/bin HOME="$desk/home" XDG_RUNTIME_DIR="$desk/run" \
        WLR_BACKENDS=headless WLR_LIBINPUT_NO_DEVICES=1 WLR_RENDERER=pixman WLR_HEADLESS_OUTPUTS="${outputs:-1}" \
        sway -c "$desk/home/sway.conf" >"$desk/sway.log" 2>&1 &
    pids+=($!)
    if ! wait_for 30 sway_listens; then
        fail "sway did not start: $(tail -n 5 "$desk/sway.log")"
        return 1
    fi
    wayland_socket >"$desk/display"
    desk_env=(SWAYSOCK="$(compgen -G "$desk/run/sway-ipc.*" | head -n1)")
    # A keyboard for as long as the desktop runs (wtype's own goes with it).
    in_desk wtype -s 3600000 "" &
    pids+=($!)
    start_input "$3" "$4" || return 1
    : >"$desk/home/typed"
    [ -n "$owner" ] && chown "$owner" "$desk/home/typed"
    in_desk swaymsg -q exec "foot -o colors.background=ffffff sh -c 'cat >$desk/home/typed'"
    wait_for 20 foot_runs || { fail "foot did not start"; return 1; }
    start_program || return 1
    wait_for 10 grep -qs "the strip is drawn" "$desk/program.log" || { fail "no strip: $(cat "$desk/program.log")"; return 1; }
}

foot_runs() { in_desk swaymsg -t get_tree | grep -q '"app_id": "foot"'; }
# Types a line into whatever has the keyboard; true once the terminal has
# it (the terminal's cat reads whole lines).
terminal_types() {
    in_desk wtype "after" -k Return
    sleep 0.2
    grep -q after "$desk/home/typed"
}
# pixel X Y [OUTPUT]: the colour (RRGGBB) at device pixel X,Y of a fresh picture.
pixel() {
    local shot=$desk/home/shot.png
    rm -f "$shot"
    in_desk grim ${3:+-o "$3"} "$shot" && convert "$shot" -format "%[hex:p{$1,$2}]" info:
}
keep_shot() { cp "$desk/home/shot.png" "$root/../marlowick-wayland-$1.png" 2>/dev/null || true; }

