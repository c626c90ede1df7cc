#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# SPDX-FileCopyrightText: 2026 The Marlowick developers
# Checks how the sources include each other: every header of src/ by its path
# from src/ ("storage/todo_storage.h"), and the folders of src/ one way only,
# with no loop among them. Prints the folders each folder includes.
# Usage: check_includes.sh PROJECT_DIR
set -euo pipefail
cd "$1"
failed=0

# A name without a folder is left only to generated files (moc's, the
# Wayland protocols') and, outside src/, to a header beside the file.
while IFS=: read -r file line include; do
    name=$(sed -E 's/.*#include "([^"]*)".*/\1/' <<<"$include")
    case $name in *.moc | *-client.h | *-client-protocol.h) continue ;; esac
    if [[ $file != src/* && -e $(dirname "$file")/$name ]]; then
        continue
    fi
    echo "FAIL: $file:$line includes \"$name\" without its folder" >&2
    failed=1
done < <(grep -rnE --include='*.h' --include='*.cpp' --include='*.c' '^\s*#\s*include\s+"[^/"]+"' src tests bench fuzz tools || true)

# The folder graph: an edge from each folder to each other folder of src/ it
# includes from; tsort fails on a loop and names the folders in it.
folders=$(find src -mindepth 1 -maxdepth 1 -type d -printf '%f\n' | sort)
edges=$(for from in $folders; do
    grep -rhoE '^\s*#\s*include\s+"[a-z_]+/' "src/$from" | sed -E 's/.*"([a-z_]+)\//\1/' | sort -u |
        while read -r to; do
            [[ $to != "$from" ]] && grep -qx "$to" <<<"$folders" && echo "$from $to"
        done
    echo "$from $from"
done)
awk '$1 != $2 { to[$1] = to[$1] " " $2 } END { for (f in to) print f " ->" to[f] }' <<<"$edges" | sort
if ! tsort <<<"$edges" >/dev/null; then
    echo "FAIL: the folders of src/ include each other in a loop (tsort names it above)" >&2
    failed=1
fi
exit $failed
