// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Marlowick developers

#include "platform/qt_screen_provider.h"

#include "platform/x11_connection.h"
#include "platform/x11_reservation_watcher.h"
#include "platform/x11_resource_scale.h"

#include <QGuiApplication>
#include <QScreen>

QtScreenProvider::QtScreenProvider(QObject *parent)
    : ScreenProvider(parent)
{
    const auto screens = QGuiApplication::screens();
    for (QScreen *screen : screens)
        watch(screen);
    connect(qGuiApp, &QGuiApplication::screenAdded, this, [this](QScreen *screen) {
        watch(screen);
        noteChange();
    });
    connect(qGuiApp, &QGuiApplication::screenRemoved, this, &QtScreenProvider::noteChange);
    connect(qGuiApp, &QGuiApplication::primaryScreenChanged, this, &QtScreenProvider::noteChange);
    if (X11Connection::connection()) {
        m_reservations = new X11ReservationWatcher(this);
        new X11ResourceScale(this);
        connect(m_reservations, &X11ReservationWatcher::changed, this, &QtScreenProvider::noteChange);
    }
}

std::optional<ScreenDescription> QtScreenProvider::primaryScreen() const
{
    if (const QScreen *screen = QGuiApplication::primaryScreen())
        return describe(screen);
    return std::nullopt;
}

ScreenDescription QtScreenProvider::describe(const QScreen *screen) const
{
    ScreenDescription description;
    description.geometry = QRectF(screen->geometry());
    description.devicePixelRatio = screen->devicePixelRatio();
    if (m_reservations) {
        const QRect monitor = description.toDevicePixels(description.geometry);
        description.topPanelHeight =
            reservedTop(monitor, m_reservations->reservations(), QGuiApplication::screens().size() == 1)
            / description.devicePixelRatio;
    } else {
        description.topPanelHeight = screen->availableGeometry().y() - screen->geometry().y();
    }
    return description;
}

void QtScreenProvider::watch(QScreen *screen)
{
    connect(screen, &QScreen::geometryChanged, this, &QtScreenProvider::noteChange);
    connect(screen, &QScreen::availableGeometryChanged, this, &QtScreenProvider::noteChange);
    // A new scale (Xft.dpi) may leave the logical geometry as it was.
    connect(screen, &QScreen::logicalDotsPerInchChanged, this, &QtScreenProvider::noteChange);
}

void QtScreenProvider::noteChange()
{
    // One change of the configuration (a monitor plugged in) arrives as a
    // burst of Qt signals; listeners hear of it once, when it has settled.
    if (m_changePending)
        return;
    m_changePending = true;
    QMetaObject::invokeMethod(
        this,
        [this] {
            m_changePending = false;
            Q_EMIT screenConfigurationChanged();
        },
        Qt::QueuedConnection);
}
