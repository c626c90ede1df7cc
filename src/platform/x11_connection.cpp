// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Marlowick developers

#include "platform/x11_connection.h"

#include <QByteArray>
#include <QGuiApplication>
#include <QWindow>

#include <cstdlib>
#include <cstring>

namespace X11Connection {

xcb_connection_t *connection()
{
    const auto *x11 = qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    return x11 ? x11->connection() : nullptr;
}

namespace {

int screenNumber()
{
    // Qt opens the screen that DISPLAY names, as xcb_connect(nullptr) does.
    int screen = 0;
    char *host = nullptr;
    int display = 0;
    if (xcb_parse_display(nullptr, &host, &display, &screen) == 0)
        return 0;
    std::free(host);
    return screen;
}

xcb_screen_t *screen()
{
    xcb_connection_t *c = connection();
    if (!c)
        return nullptr;
    xcb_screen_iterator_t it = xcb_setup_roots_iterator(xcb_get_setup(c));
    for (int i = screenNumber(); i > 0 && it.rem > 0; --i)
        xcb_screen_next(&it);
    return it.rem > 0 ? it.data : nullptr;
}

} // namespace

xcb_window_t rootWindow()
{
    const xcb_screen_t *s = screen();
    return s ? s->root : XCB_NONE;
}

xcb_atom_t atom(const char *name)
{
    xcb_connection_t *c = connection();
    if (!c)
        return XCB_NONE;
    xcb_intern_atom_reply_t *reply =
        xcb_intern_atom_reply(c, xcb_intern_atom(c, 0, uint16_t(std::strlen(name)), name), nullptr);
    const xcb_atom_t result = reply ? reply->atom : XCB_NONE;
    std::free(reply);
    return result;
}

bool setInputFocus(QWindow *window)
{
    xcb_connection_t *c = connection();
    if (!c || !window || !window->handle())
        return false;
    // The map request went out before this one on the same connection, so
    // a window just shown is viewable by the time the server sets the focus.
    xcb_set_input_focus(c, XCB_INPUT_FOCUS_PARENT, xcb_window_t(window->winId()), XCB_CURRENT_TIME);
    xcb_flush(c);
    return true;
}

bool hasCompositingManager()
{
    xcb_connection_t *c = connection();
    if (!c)
        return false;
    // A compositing manager owns the selection _NET_WM_CM_S<screen>; it may
    // start or stop at any time, so this is asked afresh each time.
    static const xcb_atom_t selection =
        atom(QByteArray("_NET_WM_CM_S" + QByteArray::number(screenNumber())).constData());
    xcb_get_selection_owner_reply_t *reply =
        xcb_get_selection_owner_reply(c, xcb_get_selection_owner(c, selection), nullptr);
    const bool owned = reply && reply->owner != XCB_NONE;
    std::free(reply);
    return owned;
}

} // namespace X11Connection
