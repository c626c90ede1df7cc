#!/usr/bin/env bash
# How long the panel takes to appear after the pointer enters the strip, on a
# private Xvfb: ./bench/notch_open_latency.sh [BUILD_DIR] [ROUNDS]
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build}
rounds=${2:-30}
exec tests/support/run_with_xvfb.sh bash -c '
    "$1"/tests/notch/notch_driver &
    driver=$!
    trap "kill $driver" EXIT
    timeout 30 xdotool search --sync --name "Marlowick notch sensor" >/dev/null
    "$1"/bench/bench_notch_open "$2"
' latency "$build" "$rounds"
