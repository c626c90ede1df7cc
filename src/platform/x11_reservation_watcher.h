// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Marlowick developers

#pragma once

#include "platform/top_reservation.h"

#include <QAbstractNativeEventFilter>
#include <QObject>
#include <QSet>

// Reads what the desktop reserves at the top of the screen from the X server
// and follows it: the work area on the root window, and the struts of every
// top-level window (the window manager's client list, and the root's
// children for docks on a desktop without one). Any change that could move
// them (a property, a dock mapped or gone) leads to one fresh read at the
// next turn of the event loop, and changed() when the result differs.
// Without X11 it reports nothing reserved, ever.
class X11ReservationWatcher : public QObject, public QAbstractNativeEventFilter
{
    Q_OBJECT

public:
    explicit X11ReservationWatcher(QObject *parent = nullptr);
    ~X11ReservationWatcher() override;

    const DesktopReservations &reservations() const { return m_reservations; }

    bool nativeEventFilter(const QByteArray &eventType, void *message, qintptr *result) override;

Q_SIGNALS:
    void changed();

private:
    void scheduleRead();
    void read();
    bool isOwnWindow(quint32 window) const;

    DesktopReservations m_reservations;
    bool m_readPending = false;
    // Windows whose property changes this watcher selected, and those whose
    // struts counted in the last read.
    QSet<quint32> m_watched;
    QSet<quint32> m_strutHolders;
};
