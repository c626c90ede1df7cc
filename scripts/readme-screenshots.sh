#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# SPDX-FileCopyrightText: 2026 The Marlowick developers
# Makes the screenshots in docs/ from the real program: marlowick on a private
# X server with a compositing manager, its own settings holding a few to-dos.
# Needs a build in ./build (./scripts/test.sh or ./scripts/run.sh makes one).
set -euo pipefail
cd "$(dirname "$0")/.."
out=${1:-docs}
mkdir -p "$out"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir -p "$work/config/marlowick" "$work/runtime"
chmod 700 "$work/runtime"

# Instants are seconds since 2001-01-01T00:00:00Z; to-dos belong to today.
today=$(( $(date -d 'today 00:00' +%s) - 978307200 ))
item() { # id title done
    printf '{\\"id\\":\\"%s\\",\\"title\\":\\"%s\\",\\"isCompleted\\":%s,\\"createdAt\\":%s,\\"date\\":%s}' \
        "$1" "$2" "$3" $((today + 36000)) "$today"
}
{
    printf '[General]\nmarlowick.items="@ByteArray(['
    item 6F1C2D3E-4A5B-4C6D-8E7F-901A2B3C4D5E "Book the car in for its service" false; printf ','
    item 1A2B3C4D-5E6F-4A1B-9C2D-3E4F5A6B7C8D "Water the ferns" true; printf ','
    item 9E8D7C6B-5A4F-4E3D-8C2B-1A0F9E8D7C6B "Reply to Hanna about the garden club meeting and the new rota for the spring" false; printf ','
    item 2B3C4D5E-6F7A-4B8C-9D0E-1F2A3B4C5D6E "Pick up the parcel" false
    printf '])"\n'
} >"$work/config/marlowick/marlowick.conf"

cat >"$work/shoot.sh" <<SHOOT
set -euo pipefail
xcompmgr & compositor=\$!
XDG_CONFIG_HOME="$work/config" XDG_RUNTIME_DIR="$work/runtime" ./build/src/marlowick & app=\$!
trap 'kill \$app \$compositor 2>/dev/null || true' EXIT
# A push up against the top edge at the centre opens it over the top panel.
xdotool mousemove 960 5
until xdotool search --onlyvisible --name '^Marlowick\$' >/dev/null 2>&1; do
    xdotool mousemove_relative -- 0 -30; sleep 0.05
done
xdotool mousemove 1000 150
sleep 1.5
import -window root -crop 420x400+750+0 +repage "$out/panel-open.png"
xdotool mousemove 805 43 click 1     # the chevron to the day before
xdotool mousemove 1000 60
sleep 1.5
import -window root -crop 420x300+750+0 +repage "$out/panel-empty-day.png"
SHOOT
tests/support/run_with_xvfb.sh bash "$work/shoot.sh"
echo "Screenshots in $out"
