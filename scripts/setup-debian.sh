#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# SPDX-FileCopyrightText: 2026 The Marlowick developers
# Installs the Debian 12 packages that building, running and testing Marlowick
# need, and only those that are missing. Runs apt-get as root, or through sudo.
set -euo pipefail

packages=(
    # build
    cmake ninja-build g++ pkg-config
    # Qt 6.4: widgets (tray icon), Qt Quick and the QML modules the views import
    qt6-base-dev qt6-declarative-dev
    # Qt's high-DPI scaling, to follow a new Xft.dpi from the X resources
    qt6-base-private-dev
    qml6-module-qtqml qml6-module-qtqml-models qml6-module-qtqml-workerscript
    qml6-module-qtquick qml6-module-qtquick-window qml6-module-qtquick-shapes
    qml6-module-qtquick-controls qml6-module-qtquick-templates qml6-module-qtquick-layouts
    qml6-module-qttest
    # Qt Quick's accessible item, which the panel's text areas extend
    qt6-declarative-private-dev
    # X11: XInput2 raw button events on the root window, window shapes,
    # pointer barriers
    libxcb1-dev libxcb-xinput-dev libxcb-shape0-dev libxcb-xfixes0-dev
    # Wayland: Qt's wayland platform, its native interface (private
    # headers), libwayland-client, wayland-scanner and the protocols
    # Debian ships (xdg-shell, which the layer shell names)
    qt6-wayland qt6-base-private-dev libwayland-dev libwayland-bin wayland-protocols
    # icons, drawn as glyphs of this font
    fonts-material-design-icons-iconfont
    # a text font for the panel where the desktop has none (a bare server)
    fonts-dejavu-core
    # time zone data for the calendar
    tzdata
    # benchmarks (and the damage extension, to see a window's first frame;
    # XTest, to push the pointer as a hand does)
    libbenchmark-dev libxcb-damage0-dev libxcb-xtest0-dev
    # the manual page (written for scdoc, checked with man and groff), and
    # checks of the launcher and the AppStream metainfo
    scdoc man-db groff-base desktop-file-utils appstream
    # windows under a virtual X server in the tests: Xvfb, pointer and key
    # events, window queries, a compositing manager, window managers people
    # run (openbox, icewm, fluxbox, xfwm4, which brings xfconf), a top panel
    # (tint2) and screenshots
    xvfb xdotool x11-utils x11-xserver-utils xcompmgr openbox icewm fluxbox xfwm4 tint2 imagemagick
    # the panel read as a screen reader reads it: a private session bus, the
    # accessibility bus and registry, and Python's AT-SPI client
    dbus-daemon at-spi2-core python3-pyatspi gir1.2-atspi-2.0
    # the Debian package (dpkg-shlibdeps, which needs file) and its check
    dpkg-dev file lintian
    # the start's notification: a private session bus and a fake
    # notification server
    python3-dbus python3-gi
    # Wayland desktops in the tests: headless sway with its bar, a native
    # terminal, keys, screenshots; weston, which has no layer shell (and
    # whose demo window logs the keys it gets); headless KWin, driven
    # through KDE's fake input protocol, on a plain wallpaper
    sway foot wtype grim weston kwin-wayland plasma-wayland-protocols swaybg
)

missing=()
for package in "${packages[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed"; then
        missing+=("$package")
    fi
done

if [ ${#missing[@]} -eq 0 ]; then
    exit 0
fi

echo "Installing: ${missing[*]}" >&2
as_root=()
if [ "$(id -u)" -ne 0 ]; then
    if ! command -v sudo >/dev/null; then
        echo "These packages are missing and installing them needs root: ${missing[*]}" >&2
        exit 1
    fi
    as_root=(sudo)
fi
"${as_root[@]}" apt-get update -qq
DEBIAN_FRONTEND=noninteractive "${as_root[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
