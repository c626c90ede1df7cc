// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Marlowick developers

#include "x11_display.h"

#include <QByteArray>

#include <xcb/xcb.h>

namespace X11Display {

std::optional<QString> connectionProblem()
{
    const QByteArray display = qgetenv("DISPLAY");
    if (display.isEmpty())
        return QStringLiteral("no X display: DISPLAY is not set (Marlowick needs X11 or XWayland)");
    xcb_connection_t *connection = xcb_connect(display.constData(), nullptr);
    const int error = xcb_connection_has_error(connection);
    xcb_disconnect(connection);
    if (error != 0)
        return QStringLiteral("cannot open the X display \"%1\" named by DISPLAY").arg(QString::fromLocal8Bit(display));
    return std::nullopt;
}

} // namespace X11Display
