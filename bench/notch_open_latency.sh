#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# SPDX-FileCopyrightText: 2026 The Marlowick developers
# How long the panel takes to appear after the pointer enters the strip, and
# how evenly it springs open and closed, on a private Xvfb, with marlowick
# itself:
#   ./bench/notch_open_latency.sh [BUILD_DIR] [ROUNDS] [STARTS] [--composited] [--todos=N] [--scale=2]
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build}
rounds=${2:-30}
starts=${3:-5}
composited=
todos=0
for option in "${@:4}"; do
    case $option in
    --composited) composited=yes ;;
    --todos=*) todos=${option#--todos=} ;;
    --scale=*) export QT_SCALE_FACTOR=${option#--scale=} ;;
    *) echo "unknown option: $option" >&2; exit 2 ;;
    esac
done
exec tests/support/run_with_xvfb.sh bash -c '
    if [ -n "$4" ]; then
        xcompmgr &
        compositor=$!
        trap "kill $compositor" EXIT
    fi
    "$1"/bench/bench_notch_open "$1"/src/marlowick "$2" "$3" "$5"
' latency "$build" "$rounds" "$starts" "$composited" "$todos"
