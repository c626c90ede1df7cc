# SPDX-License-Identifier: GPL-3.0-or-later
# SPDX-FileCopyrightText: 2026 The Marlowick developers
#
# What the Wayland desktops of the tests share, sourced by their harnesses:
# copies of the binaries every user can run, the user nobody where the test
# runs as root (sway refuses root), a home and runtime directory for each
# desktop, cells that pass or fail, waits, the input device (a program that
# takes virtual-pointer's commands on a pipe), the program's to-dos and the
# panel's pixels.
#
# Set before sourcing: program, command, pointer_client (the binaries), and
# tools (the commands the desktop needs). Each desktop's harness defines
# pixel X Y [OUTPUT] and, once started, desk_env (its variables).

missing=()
for tool in setpriv "${tools[@]}"; do
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
cp "$pointer_client" "$root/bin/input-device"
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

# The desktop the commands below act on, and its variables.
desk=
desk_env=()
in_desk() {
    "${as_user[@]}" env -i PATH=/usr/bin:/bin HOME="$desk/home" XDG_RUNTIME_DIR="$desk/run" LANG=C.UTF-8 \
        TZ="${TZ:-UTC}" WAYLAND_DISPLAY="$(cat "$desk/display")" XDG_SESSION_TYPE=wayland "${desk_env[@]}" "$@"
}
new_home() {
    desk=$root/$1
    desk_env=()
    mkdir -p "$desk/run" "$desk/home"
    chmod 700 "$desk/run"
    [ -n "$owner" ] && chown -R "$owner" "$desk"
}

# start_input ARGS...: the input device, reading its commands from a pipe.
start_input() {
    mkfifo -m 666 "$desk/pointer.in"
    in_desk "$root/bin/input-device" "$@" <"$desk/pointer.in" >"$desk/pointer.out" 2>&1 &
    pids+=($!)
    exec {pointer_fd}>"$desk/pointer.in"
    wait_for 10 grep -qs ready "$desk/pointer.out" || { fail "no input device: $(cat "$desk/pointer.out")"; return 1; }
}

# start_program: Marlowick, logging what opens and closes the panel; true
# once it is ready.
start_program() {
    in_desk env QT_LOGGING_RULES="marlowick.app.info=true;marlowick.notch.info=true;marlowick.wayland.info=true" ${program_environment:-} \
        "$root/libexec/marlowick/marlowick-program" >"$desk/program.log" 2>&1 &
    program_pid=$!
    pids+=($program_pid)
    wait_for 30 grep -qs "ready:" "$desk/program.log" || { fail "Marlowick did not start: $(cat "$desk/program.log")"; return 1; }
}

listed() { in_desk "$root/bin/marlowick" list 2>/dev/null | grep -q "$1"; }
# windows_gone: how often the panel's window has gone; gone_since COUNT: true
# once it has gone more than COUNT times. It goes after the body's closing
# animation, and takes the presses on the strip below it until then.
windows_gone() { grep -c "closed: the panel's window is gone" "$desk/program.log"; }
gone_since() { [ "$(windows_gone)" -gt "$1" ]; }
# The pointer moved onto the strip and pressed in one go: the press, not a
# rest, opens the panel (the log says which); the pointer leaving closes it.
press_on_the_strip_opens_the_panel() {
    pointer click 1000 0
    if wait_for 10 panel_open && grep -q "open: a press on the strip" "$desk/program.log"; then
        pass
    else
        fail "no panel after the press: $(grep "open:" "$desk/program.log")"
    fi
    pointer move 960 700
    wait_for 10 panel_closed || fail "the panel did not close after the pointer left"
}

# pointer move X Y / click [X Y] / press / release: the input device, in layout
# coordinates (logical pixels); each returns once the compositor has it.
pointer() {
    local before
    before=$(grep -c ok "$desk/pointer.out")
    echo "$*" >&"$pointer_fd"
    wait_for 10 answered "$before"
}
# answered COUNT: true once the device has answered more than COUNT commands.
answered() { [ "$(grep -c ok "$desk/pointer.out")" -gt "$1" ]; }

is_pixel() { [ "$(pixel "$1" "$2" "${4:-}")" = "$3" ]; }
# The panel is open where its black body shows at the probe, closed where
# what lies below it (white) shows.
panel_open() { is_pixel "$probe_x" "$probe_y" 000000 "${probe_output:-}"; }
panel_closed() { is_pixel "$probe_x" "$probe_y" FFFFFF "${probe_output:-}"; }
