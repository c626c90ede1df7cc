#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# SPDX-FileCopyrightText: 2026 The Marlowick developers
# Frame intervals while the panel opens and closes, with the window shaped to
# the body's outline as the panel window is, and without: with and without a
# compositing manager, on a private Xvfb. 10,000 to-dos, 200 on the day shown.
# Usage: ./bench/panel_shape_frames.sh [BUILD_DIR] [CYCLES]
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build}
cycles=${2:-10}
exec tests/support/run_with_xvfb.sh bash -c '
    preview=("$1"/tools/marlowick_panel_preview --total 10000 --on-day 200 --measure "$2" --open-after -1)
    for compositor in none xcompmgr; do
        if [ $compositor = xcompmgr ]; then
            xcompmgr & trap "kill $!" EXIT
            sleep 1
        fi
        for shape in no yes; do
            echo "== compositing manager: $compositor, window shaped: $shape"
            if [ $shape = yes ]; then "${preview[@]}" --shape; else "${preview[@]}"; fi 2>/dev/null
        done
    done
' frames "$build" "$cycles"
