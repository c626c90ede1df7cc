#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# SPDX-FileCopyrightText: 2026 The Marlowick developers
# How long marlowick count and add take with 10,000 to-dos stored, with the
# program running and without, beside /bin/true: ./bench/command_benchmark.sh [BUILD_DIR] [ROUNDS]
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build}
rounds=${2:-50}
exec "$build"/bench/bench_commands "$build"/src/marlowick "$rounds"
