// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Marlowick developers

#include "x11_display.h"

#include <QByteArray>

#include <cstring>
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

namespace {

// The platform asked for with "-platform NAME" or "-platform=NAME"; empty
// for a "-platform" with nothing after it, none without the option.
std::optional<QByteArray> platformArgument(int argc, char **argv)
{
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "-platform") == 0)
            return QByteArray(i + 1 < argc ? argv[i + 1] : "");
        if (std::strncmp(argv[i], "-platform=", 10) == 0)
            return QByteArray(argv[i] + 10);
    }
    return std::nullopt;
}

} // namespace

void preferXcbPlatform(int argc, char **argv)
{
    if (qEnvironmentVariableIsSet("QT_QPA_PLATFORM") || platformArgument(argc, argv))
        return;
    qputenv("QT_QPA_PLATFORM", "xcb");
}

bool usesXcb(int argc, char **argv)
{
    const auto argument = platformArgument(argc, argv);
    if (argument && !argument->isEmpty())
        return argument->startsWith("xcb");
    return qgetenv("QT_QPA_PLATFORM").startsWith("xcb");
}

} // namespace X11Display
