// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Marlowick developers

#pragma once

#include <QtGlobal>

#include <xcb/xcb.h>

class QWindow;

// The X connection that Qt's xcb platform opened, and what the program asks
// of it directly. Everything answers "nothing" on any other platform (the
// offscreen platform of the unit tests).
namespace X11Connection {

// Qt's connection, or null when the application does not run on X11.
xcb_connection_t *connection();
// The root window of the screen the application opened (the screen named in
// DISPLAY), or XCB_NONE.
xcb_window_t rootWindow();
// Interns an atom once; XCB_NONE without X11.
xcb_atom_t atom(const char *name);
// Gives window the keyboard (the X input focus; back to its parent when it
// goes). False without X11 or without a native window.
bool setInputFocus(QWindow *window);
// Whether a compositing manager runs on the application's screen, that is
// whether translucent pixels are really translucent.
bool hasCompositingManager();

} // namespace X11Connection
