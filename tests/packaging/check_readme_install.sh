#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# SPDX-FileCopyrightText: 2026 The Marlowick developers
# Runs README's commands as written on what a fresh clone holds, and checks
# what they make:
#   install: the section "Installing for the desktop", into a temporary
#            prefix; every file arrives, nothing else, and the installed
#            command finds the installed program; then its uninstall, which
#            leaves none of them.
#   package: the section "A Debian package" (all but its apt line) in the
#            same tree; the package's name, fields, dependencies and files,
#            and no lintian errors.
# Usage: check_readme_install.sh install|package SOURCE_DIR WORK_DIR
set -euo pipefail
phase=$1
source_dir=$(realpath "$2")
work=$3
clone=$work/marlowick
prefix=$work/prefix
app_id=org._marlowick.marlowick
version=$(sed -n 's/^project(Marlowick VERSION \([0-9.]*\).*/\1/p' "$source_dir/CMakeLists.txt")
failed=0
fail() {
    echo "FAIL: $*" >&2
    failed=1
}

# The commands of a README section's sh block: the first, or the Nth.
readme_block() {
    awk -v heading="$1" -v wanted="${2:-1}" '$0 == heading { in_section = 1; next }
        in_section && /^## / { exit }
        in_section && /^```sh$/ { in_block = ++blocks == wanted; next }
        in_block && /^```$/ { exit }
        in_block { print }' "$clone/README.md"
}

# Only what the shell needs to run; a compiler cache speeds the build up
# where there is one (the commands themselves stay as written).
run_commands() {
    echo "$1" | sed 's/^/+ /' >&2
    (cd "$clone" && bash -euo pipefail -c "$1")
}
if command -v ccache >/dev/null; then
    export CMAKE_CXX_COMPILER_LAUNCHER=ccache CCACHE_BASEDIR=$work
fi

expected_files() {
    local root=$1 bin=$2 libexec=$3 share=$4
    printf '%s\n' "$bin/marlowick" "$libexec/marlowick/marlowick-program" \
        "$share/applications/$app_id.desktop" "$share/icons/hicolor/scalable/apps/marlowick.svg" \
        "$share/metainfo/$app_id.metainfo.xml" "$share/man/man1/marlowick.1.gz" \
        "$share/bash-completion/completions/marlowick" \
        "$share/doc/marlowick/copyright" "$share/doc/marlowick/changelog.gz" | sed "s|^|$root|" | sort
}

case $phase in
install)
    # A fresh clone: the files git tracks, as they are in the work tree
    # (outside git, all but the build folders).
    rm -rf "$work"
    mkdir -p "$clone"
    if git -C "$source_dir" rev-parse --is-inside-work-tree >/dev/null 2>&1; then
        git -C "$source_dir" ls-files -z | tar -C "$source_dir" --null -T - -cf - | tar -C "$clone" -xf -
    else
        tar -C "$source_dir" --exclude='./build*' -cf - . | tar -C "$clone" -xf -
    fi
    commands=$(readme_block "## Installing for the desktop")
    [ -n "$commands" ] || { echo "FAIL: README has no install commands" >&2; exit 1; }
    run_commands "${commands//\$HOME\/.local/$prefix}" || fail "the install commands failed"

    diff -u <(expected_files "$prefix/" bin libexec share) <(find "$prefix" -type f | sort) ||
        fail "the install put other files than these in place"
    # The command runs the program from libexec: with no display to reach,
    # it is the program that says which display it tried.
    output=$(DISPLAY=:999 QT_QPA_PLATFORM= "$prefix/bin/marlowick" 2>&1) && fail "started without a display"
    grep -q ':999' <<<"$output" || fail "the installed command did not run the installed program: $output"

    # And the uninstall removes every file again.
    commands=$(readme_block "## Installing for the desktop" 2)
    [ -n "$commands" ] || fail "README says not how to uninstall"
    run_commands "$commands" || fail "the uninstall commands failed"
    [ -z "$(find "$prefix" -type f)" ] || fail "the uninstall left files: $(find "$prefix" -type f)"
    ;;
package)
    [ -d "$clone" ] || { echo "FAIL: run the install phase first" >&2; exit 1; }
    commands=$(readme_block "## A Debian package" | grep -v '^sudo apt')
    [ -n "$commands" ] || { echo "FAIL: README has no package commands" >&2; exit 1; }
    run_commands "$commands" || fail "the package commands failed"

    arch=$(dpkg --print-architecture)
    deb=$clone/build/marlowick_${version}_$arch.deb
    [ -f "$deb" ] || { echo "FAIL: no $deb" >&2; exit 1; }
    [ "$(dpkg-deb -f "$deb" Package)" = marlowick ] || fail "the package is not named marlowick"
    [ "$(dpkg-deb -f "$deb" Version)" = "$version" ] || fail "the package's version is not $version"
    depends=$(dpkg-deb -f "$deb" Depends)
    # Computed from the binaries, and the QML modules and the icon font named.
    for package in libc6 libqt6core6 libqt6dbus6 libqt6gui6 libqt6network6 libqt6qml6 libqt6quick6 libqt6widgets6 libxcb1 \
        qml6-module-qtqml qml6-module-qtqml-models qml6-module-qtqml-workerscript qml6-module-qtquick \
        qml6-module-qtquick-controls qml6-module-qtquick-templates fonts-material-design-icons-iconfont; do
        grep -Eq "(^|, )$package( |,|$)" <<<"$depends" || fail "Depends lacks $package: $depends"
    done
    diff -u <(expected_files "" ./usr/bin ./usr/libexec ./usr/share) \
        <(dpkg-deb -c "$deb" | awk '$1 ~ /^-/ { print $6 }' | sort) || fail "the package holds other files than these"
    if dpkg-deb -c "$deb" | awk '$1 ~ /^-/ && $2 != "root/root" { bad = 1 } END { exit !bad }'; then
        fail "files in the package not owned by root"
    fi
    if command -v lintian >/dev/null; then
        lintian --fail-on error "$deb" || fail "lintian reports errors"
    fi
    ;;
*)
    echo "usage: $0 install|package SOURCE_DIR WORK_DIR" >&2
    exit 2
    ;;
esac

if [ "$failed" -ne 0 ]; then
    echo "0 passed, 1 failed" >&2
    exit 1
fi
echo "1 passed, 0 failed"
