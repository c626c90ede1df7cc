#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-3.0-or-later
# SPDX-FileCopyrightText: 2026 The Marlowick developers
"""Prints the colour (RRGGBB) of one pixel of what KWin shows, through its
screenshot interface on the session bus (org.kde.KWin.ScreenShot2), which
grim cannot reach: KWin has no wlr screencopy.

Usage: kwin_pixel.py X Y   (logical pixels of the layout)
"""
import os
import sys
import threading

import dbus


def main():
    x, y = int(sys.argv[1]), int(sys.argv[2])
    read_end, write_end = os.pipe()
    chunks = []

    def drain():
        with os.fdopen(read_end, "rb") as pipe:
            chunks.append(pipe.read())

    # KWin writes the picture while it answers: read it meanwhile.
    reader = threading.Thread(target=drain, daemon=True)
    reader.start()
    shots = dbus.Interface(dbus.SessionBus().get_object("org.kde.KWin", "/org/kde/KWin/ScreenShot2"),
                           "org.kde.KWin.ScreenShot2")
    # The bus sends a copy of the write end: only KWin's may stay open.
    sent = dbus.types.UnixFd(write_end)
    os.close(write_end)
    try:
        meta = shots.CaptureArea(x, y, dbus.UInt32(1), dbus.UInt32(1),
                                 {"native-resolution": False, "include-cursor": False}, sent)
    except dbus.DBusException as error:
        sys.exit(f"no picture: {error}")
    del sent
    reader.join(timeout=20)
    data = chunks[0] if chunks else b""
    stride = int(meta.get("stride", 4))
    if len(data) < 4 or stride < 4:
        sys.exit(f"no picture: {dict(meta)}, {len(data)} bytes")
    # QImage's 32-bit formats, stored as a native (little-endian) integer:
    # blue, green, red, alpha.
    blue, green, red = data[0], data[1], data[2]
    print(f"{red:02X}{green:02X}{blue:02X}")


if __name__ == "__main__":
    main()
