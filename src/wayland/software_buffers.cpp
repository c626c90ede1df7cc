// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Marlowick developers

#include "wayland/software_buffers.h"

#include <QByteArray>
#include <QString>

namespace SoftwareBuffers {

namespace {

constexpr char noIntegration[] = "none";
QtMessageHandler previousHandler = nullptr;

void dropExpectedWarnings(QtMsgType type, const QMessageLogContext &context, const QString &message)
{
    const bool expected = type == QtWarningMsg && context.category && qstrcmp(context.category, "qt.qpa.wayland") == 0
        && (message.startsWith(QLatin1String("Failed to load client buffer integration: \"none\""))
            || message.startsWith(QLatin1String("Available client buffer integrations:")));
    if (!expected)
        previousHandler(type, context, message);
}

} // namespace

void preferWithoutEgl()
{
    // The software renderer unless the user chose another (as
    // QuickRenderer::preferSoftware() decides; graphicsApi() does not tell
    // before the application exists).
    QByteArray backend = qgetenv("QT_QUICK_BACKEND");
    if (backend.isEmpty())
        backend = qgetenv("QMLSCENE_DEVICE");
    const bool software =
        backend == "software" || (backend.isEmpty() && qEnvironmentVariableIsEmpty("QSG_RHI_BACKEND"));
    if (!software || qEnvironmentVariableIsSet("QT_WAYLAND_CLIENT_BUFFER_INTEGRATION"))
        return;
    qputenv("QT_WAYLAND_CLIENT_BUFFER_INTEGRATION", noIntegration);
    previousHandler = qInstallMessageHandler(dropExpectedWarnings);
}

} // namespace SoftwareBuffers
