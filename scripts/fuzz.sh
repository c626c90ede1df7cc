#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# SPDX-FileCopyrightText: 2026 The Marlowick developers
# Builds the fuzz target of the stored-list readers with clang and runs it for
# a bounded time: ./scripts/fuzz.sh [seconds] (60 by default). Crashes and
# findings are left in build-fuzz/findings.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds="${1:-60}"

scripts/setup-debian.sh
if ! command -v clang++ >/dev/null || ! dpkg-query -W libclang-rt-14-dev >/dev/null 2>&1; then
    as_root=()
    [ "$(id -u)" -ne 0 ] && as_root=(sudo)
    DEBIAN_FRONTEND=noninteractive "${as_root[@]}" apt-get install -y -qq --no-install-recommends clang libclang-rt-14-dev >/dev/null
fi

CXX=clang++ cmake -S . -B build-fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DMARLOWICK_BUILD_FUZZERS=ON -DMARLOWICK_BUILD_TESTS=OFF -DMARLOWICK_BUILD_BENCHMARKS=OFF
cmake --build build-fuzz --target stored_list_fuzzer

mkdir -p build-fuzz/corpus build-fuzz/findings
cp -n fuzz/corpus/* build-fuzz/corpus/
./build-fuzz/fuzz/stored_list_fuzzer build-fuzz/corpus -max_total_time="$seconds" -max_len=65536 \
    -artifact_prefix=build-fuzz/findings/ -print_final_stats=1
