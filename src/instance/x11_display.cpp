// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Marlowick developers

#include "instance/x11_display.h"

#include <QByteArray>

#include <xcb/xcb.h>

namespace X11Display {

CheckConnection::CheckConnection()
{
    const QByteArray display = qgetenv("DISPLAY");
    if (display.isEmpty()) {
        m_problem = QStringLiteral("no X display: DISPLAY is not set (Marlowick needs X11 or XWayland)");
        return;
    }
    m_connection = xcb_connect(display.constData(), nullptr);
    if (xcb_connection_has_error(m_connection) != 0)
        m_problem =
            QStringLiteral("cannot open the X display \"%1\" named by DISPLAY").arg(QString::fromLocal8Bit(display));
}

CheckConnection::~CheckConnection()
{
    if (m_connection)
        xcb_disconnect(m_connection);
}

} // namespace X11Display
