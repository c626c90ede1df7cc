#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# SPDX-FileCopyrightText: 2026 The Marlowick developers
# Start-up time, memory and idle wake-ups of marlowick beside a bare Qt Quick
# window drawn by the same renderer, on a private Xvfb:
#   ./bench/startup_benchmark.sh [BUILD_DIR] [ROUNDS] [opengl]
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build}
rounds=${2:-10}
exec tests/support/run_with_xvfb.sh \
    "$build"/bench/bench_startup "$build"/src/marlowick "$build"/bench/bench_bare_quick_window "$rounds" ${3:-}
