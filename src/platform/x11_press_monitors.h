// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Marlowick developers

#pragma once

#include "platform/press_monitors.h"

#include <QAbstractNativeEventFilter>
#include <QList>
#include <QObject>

#include <utility>

// Global monitors hear XInput2 raw button presses selected on the root
// window; local monitors are an event filter on the application object. Both
// are hooked into the window system only while a monitor of their kind is
// installed, so the program is not woken by presses while nobody listens.
class X11PressMonitors : public QObject, public QAbstractNativeEventFilter, public PressMonitors
{
    Q_OBJECT

public:
    explicit X11PressMonitors(QObject *parent = nullptr);
    ~X11PressMonitors() override;

    PressMonitor addGlobalPressMonitor(GlobalHandler handler) override;
    PressMonitor addLocalPressMonitor(LocalHandler handler) override;
    void removeMonitor(PressMonitor monitor) override;

    bool nativeEventFilter(const QByteArray &eventType, void *message, qintptr *result) override;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    bool selectRawPresses(bool on);

    QList<std::pair<quint64, GlobalHandler>> m_global;
    QList<std::pair<quint64, LocalHandler>> m_local;
    quint64 m_lastId = 0;
    quint8 m_xinputOpcode = 0;
};
