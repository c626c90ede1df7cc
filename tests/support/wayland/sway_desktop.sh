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

missing=()
for tool in sway swaybar swaymsg foot grim wtype convert weston Xvfb setpriv; do
    command -v "$tool" >/dev/null || missing+=("$tool")
done
if [ ${#missing[@]} -gt 0 ]; then
    echo "FAIL: missing ${missing[*]}; scripts/setup-debian.sh installs them" >&2
    exit 1
fi

root=$(mktemp -d /tmp/marlowick-wayland.XXXXXX)
chmod 755 "$root"
mkdir -p "$root/bin" "$root/libexec/marlowick"
cp "$command" "$root/bin/marlowick"
cp "$program" "$root/libexec/marlowick/marlowick-program"
cp "$pointer_client" "$root/bin/virtual-pointer"
chmod -R a+rX "$root"
as_user=()
owner=
if [ "$(id -u)" -eq 0 ]; then
    as_user=(setpriv --reuid=nobody --regid=nogroup --clear-groups)
    owner=nobody:nogroup
fi

pids=()
cleanup() {
    # A background in_desk is a subshell whose child is the program.
    for pid in "${pids[@]}"; do
        pkill -P "$pid" 2>/dev/null
        kill "$pid" 2>/dev/null
    done
    wait 2>/dev/null
    rm -rf "$root"
}
trap cleanup EXIT

failures=0
fail() {
    echo "FAIL [$cell]: $*" >&2
    failures=$((failures + 1))
}
pass() { echo "PASS [$cell]"; }

# wait_for SECONDS COMMAND...: polls until COMMAND succeeds.
wait_for() {
    local deadline=$((SECONDS + $1))
    shift
    until "$@"; do
        [ $SECONDS -ge $deadline ] && return 1
        sleep 0.1
    done
}

# The desktop the commands below act on.
desk=
in_desk() {
    local socket
    socket=$(cd "$desk/run" && ls sway-ipc.* 2>/dev/null | head -n1)
    "${as_user[@]}" env -i PATH=/usr/bin:/bin HOME="$desk/home" XDG_RUNTIME_DIR="$desk/run" LANG=C.UTF-8 \
        TZ="${TZ:-UTC}" WAYLAND_DISPLAY="$(cat "$desk/display")" XDG_SESSION_TYPE=wayland \
        SWAYSOCK="$desk/run/$socket" "$@"
}
new_home() {
    desk=$root/$1
    mkdir -p "$desk/run" "$desk/home"
    chmod 700 "$desk/run"
    [ -n "$owner" ] && chown -R "$owner" "$desk"
}
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
    # A keyboard for as long as the desktop runs (wtype's own goes with it).
    in_desk wtype -s 3600000 "" &
    pids+=($!)
    mkfifo -m 666 "$desk/pointer.in"
    in_desk "$root/bin/virtual-pointer" "$3" "$4" <"$desk/pointer.in" >"$desk/pointer.out" 2>&1 &
    pids+=($!)
    exec {pointer_fd}>"$desk/pointer.in"
    wait_for 10 grep -qs ready "$desk/pointer.out" || { fail "no virtual pointer: $(cat "$desk/pointer.out")"; return 1; }
    : >"$desk/home/typed"
    [ -n "$owner" ] && chown "$owner" "$desk/home/typed"
    in_desk swaymsg -q exec "foot -o colors.background=ffffff sh -c 'cat >$desk/home/typed'"
    wait_for 20 foot_runs || { fail "foot did not start"; return 1; }
    in_desk env QT_LOGGING_RULES="marlowick.app.info=true;marlowick.notch.info=true" ${program_environment:-} \
        "$root/libexec/marlowick/marlowick-program" >"$desk/program.log" 2>&1 &
    program_pid=$!
    pids+=($program_pid)
    wait_for 30 grep -qs "ready:" "$desk/program.log" || { fail "Marlowick did not start: $(cat "$desk/program.log")"; return 1; }
    # The first frame of the strip.
    sleep 0.5
}

foot_runs() { in_desk swaymsg -t get_tree | grep -q '"app_id": "foot"'; }
# Types a line into whatever has the keyboard; true once the terminal has
# it (the terminal's cat reads whole lines).
terminal_types() {
    in_desk wtype "after" -k Return
    sleep 0.2
    grep -q after "$desk/home/typed"
}
listed() { in_desk "$root/bin/marlowick" list 2>/dev/null | grep -q "$1"; }

# point X Y / click / press / release: the virtual pointer, in layout
# coordinates (logical pixels); each returns once the compositor has it.
pointer() {
    local before
    before=$(grep -c ok "$desk/pointer.out")
    echo "$*" >&"$pointer_fd"
    wait_for 10 test "$(grep -c ok "$desk/pointer.out")" -gt "$before"
}

# pixel X Y [OUTPUT]: the colour (RRGGBB) at device pixel X,Y of a fresh picture.
pixel() {
    local shot=$desk/home/shot.png
    rm -f "$shot"
    in_desk grim ${3:+-o "$3"} "$shot" && convert "$shot" -format "%[hex:p{$1,$2}]" info:
}
is_pixel() { [ "$(pixel "$1" "$2" "${4:-}")" = "$3" ]; }

# The panel is open where the body is black below the bar, closed where the
# terminal shows (white).
panel_open() { is_pixel "$probe_x" "$probe_y" 000000 "${probe_output:-}"; }
panel_closed() { is_pixel "$probe_x" "$probe_y" FFFFFF "${probe_output:-}"; }
keep_shot() { cp "$desk/home/shot.png" "$root/../marlowick-wayland-$1.png" 2>/dev/null || true; }

