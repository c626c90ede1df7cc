// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Marlowick developers

#include "app/start_notice.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QLoggingCategory>
#include <QVariantMap>

Q_DECLARE_LOGGING_CATEGORY(lcApp)

std::optional<StartNotice::Text> StartNotice::compose(bool firstStart, bool trayAvailable)
{
    if (!trayAvailable) {
        return Text{
            QStringLiteral("Marlowick runs without a tray item"),
            QStringLiteral("This desktop shows no system tray. Open your to-dos by moving the pointer to the top "
                           "centre of the screen. Quit with Ctrl+Q in the open panel, or with the command "
                           "\"marlowick quit\"."),
        };
    }
    if (firstStart) {
        return Text{
            QStringLiteral("Marlowick is running"),
            QStringLiteral("Your to-dos live in the system tray (the check list) and at the top centre of the "
                           "screen: move the pointer up there, or click the check list, to open them. Quit from "
                           "the check list's menu (right click), or with Ctrl+Q in the open panel."),
        };
    }
    return std::nullopt;
}

void StartNotice::show(const Text &text)
{
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected()) {
        qCInfo(lcApp, "no session bus: the start's notice is not shown");
        return;
    }
    // The Desktop Notifications interface: Notify(app_name, replaces_id,
    // app_icon, summary, body, actions, hints, expire_timeout). A server
    // that is not running yet is started by the bus.
    QDBusMessage notify = QDBusMessage::createMethodCall(
        QStringLiteral("org.freedesktop.Notifications"), QStringLiteral("/org/freedesktop/Notifications"),
        QStringLiteral("org.freedesktop.Notifications"), QStringLiteral("Notify"));
    const QVariantMap hints{{QStringLiteral("desktop-entry"), QStringLiteral(MARLOWICK_APP_ID)}};
    notify << QStringLiteral("Marlowick") << 0u << QStringLiteral("marlowick") << text.summary << text.body
           << QStringList() << hints << -1;
    auto *watcher = new QDBusPendingCallWatcher(bus.asyncCall(notify));
    QObject::connect(watcher, &QDBusPendingCallWatcher::finished, watcher, [](QDBusPendingCallWatcher *call) {
        const QDBusPendingReply<uint> reply = *call;
        if (reply.isError())
            qCInfo(lcApp, "the start's notice is not shown: %s", qPrintable(reply.error().message()));
        call->deleteLater();
    });
}
