#!/usr/bin/env bash
# How long the panel takes to appear after the pointer enters the strip, on a
# private Xvfb, with marlowick itself:
#   ./bench/notch_open_latency.sh [BUILD_DIR] [ROUNDS] [STARTS] [--composited]
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build}
rounds=${2:-30}
starts=${3:-5}
composited=${4:-}
exec tests/support/run_with_xvfb.sh bash -c '
    if [ "$4" = --composited ]; then
        xcompmgr &
        compositor=$!
        trap "kill $compositor" EXIT
    fi
    "$1"/bench/bench_notch_open "$1"/src/marlowick "$2" "$3"
' latency "$build" "$rounds" "$starts" "$composited"
