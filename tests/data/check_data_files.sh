#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# SPDX-FileCopyrightText: 2026 The Marlowick developers
# Checks the files installed beside the program as the tools of a desktop
# and of Debian read them: the launcher, the AppStream metainfo, the manual
# page (no warnings from man or groff) and the bash completion.
# Usage: check_data_files.sh DATA_DIR BUILT_MANPAGE APP_ID
set -euo pipefail
data=$1
manpage=$2
app_id=$3
failed=0
fail() {
    echo "FAIL: $*" >&2
    failed=1
}

# Both clean: desktop-file-validate prints hints too, appstreamcli fails on
# warnings.
output=$(desktop-file-validate "$data/$app_id.desktop" 2>&1) && [ -z "$output" ] ||
    fail "desktop-file-validate: $output"
output=$(appstreamcli validate --no-net "$data/$app_id.metainfo.xml" 2>&1) ||
    fail "appstreamcli validate: $output"
grep -q "<launchable type=\"desktop-id\">$app_id.desktop</launchable>" "$data/$app_id.metainfo.xml" ||
    fail "the metainfo does not launch $app_id.desktop"

warnings=$(LC_ALL=C.UTF-8 MANWIDTH=80 man --warnings -E UTF-8 -l "$manpage" 2>&1 >/dev/null)
[ -z "$warnings" ] || fail "man --warnings: $warnings"
warnings=$(groff -ww -man -z "$manpage" 2>&1)
[ -z "$warnings" ] || fail "groff -ww: $warnings"
for section in NAME SYNOPSIS DESCRIPTION "THE PANEL" KEYS "THE TRAY" COMMANDS "EXIT STATUS" ENVIRONMENT FILES; do
    grep -q "^\.SH $section" "$manpage" || fail "the manual page has no section $section"
done

# Completion: the words offered after what is typed.
source "$data/marlowick.bash-completion"
complete_words() {
    COMP_WORDS=("$@")
    COMP_CWORD=$((${#COMP_WORDS[@]} - 1))
    COMPREPLY=()
    _marlowick
    echo "${COMPREPLY[*]}"
}
expect() {
    local expected=$1
    shift
    local got
    got=$(complete_words "$@")
    [ "$got" = "$expected" ] || fail "completing '$*': expected '$expected', got '$got'"
}
expect "toggle" marlowick to
expect "add" marlowick a
expect "--day --json --help" marlowick list --
expect "--open" marlowick count --o
expect "today tomorrow" marlowick count --day to
expect "yesterday" marlowick add --day = y
expect "" marlowick add Buy

if [ "$failed" -ne 0 ]; then
    echo "0 passed, 1 failed" >&2
    exit 1
fi
echo "1 passed, 0 failed"
