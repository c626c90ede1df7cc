#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# SPDX-FileCopyrightText: 2026 The Marlowick developers
# The start's desktop notification: the first start (no settings file yet)
# says where Marlowick lives and how to open and quit it; a later start with
# a tray says nothing; a start where no tray runs says how to open and quit
# it without one. Runs the program three times with a fake notification
# server (and tray watcher) on a private session bus and X server:
# Usage: run_with_xvfb.sh dbus-run-session -- check_start_notice.sh PROGRAM FAKE_SERVICES
set -euo pipefail
program=$1
fake_services=$2
work=$(mktemp -d)
export XDG_CONFIG_HOME=$work/config XDG_STATE_HOME=$work/state XDG_RUNTIME_DIR=$work/runtime
export QT_LOGGING_RULES=marlowick.app.info=true
mkdir -m 700 "$XDG_RUNTIME_DIR"
notices=$work/notices
touch "$notices"
services_pid=
program_pid=
stop() {
    if [ -n "$1" ]; then
        kill "$1" 2>/dev/null || true
        wait "$1" 2>/dev/null || true
    fi
}
trap 'stop "$program_pid"; stop "$services_pid"; rm -rf "$work"' EXIT
failed=0
fail() {
    echo "FAIL: $*" >&2
    failed=1
}

# Polls COMMAND until it succeeds, for at most SECONDS.
wait_for() {
    local deadline=$((SECONDS + $1))
    shift
    until "$@"; do
        [ "$SECONDS" -lt "$deadline" ] || return 1
        sleep 0.1
    done
}
notice_count() { wc -l <"$notices"; }
has_notices() { [ "$(notice_count)" -ge "$1" ]; }

start_services() {
    stop "$services_pid"
    rm -f "$work/services-ready"
    "$fake_services" "$notices" "$work/services-ready" "$@" &
    services_pid=$!
    wait_for 30 test -s "$work/services-ready" || { echo "FAIL: the fake services did not start" >&2; exit 1; }
}
# Starts the program, waits until it is ready and until it has sent
# NOTICES notifications in all, and ends it.
run_program() {
    local notices_then=$1
    "$program" 2>"$work/stderr" &
    program_pid=$!
    wait_for 60 grep -q "ready:" "$work/stderr" || fail "the program did not start: $(cat "$work/stderr")"
    wait_for 30 has_notices "$notices_then" || fail "$(notice_count) notices, not $notices_then"
    stop "$program_pid"
    program_pid=
}
expect_notice() {
    local line=$1 summary=$2
    shift 2
    local notice
    notice=$(sed -n "${line}p" "$notices")
    [ "${notice%%$'\t'*}" = "$summary" ] || fail "notice $line is not \"$summary\": $notice"
    for words in "$@"; do
        grep -qF "$words" <<<"$notice" || fail "notice $line does not say \"$words\": $notice"
    done
}

start_services --tray
run_program 1
expect_notice 1 "Marlowick is running" "system tray" "top centre of the screen" "Ctrl+Q"
[ -f "$XDG_CONFIG_HOME/marlowick/marlowick.conf" ] || fail "the first start left no settings file"
# The second start sends nothing: the notice the third start sends is the
# second of all.
run_program 1
start_services
run_program 2
expect_notice 2 "Marlowick runs without a tray item" "top centre of the screen" "Ctrl+Q" "marlowick quit"
[ "$(notice_count)" -eq 2 ] || fail "$(notice_count) notices in all, not 2: $(cat "$notices")"

if [ "$failed" -ne 0 ]; then
    echo "0 passed, 1 failed" >&2
    exit 1
fi
echo "1 passed, 0 failed"
