// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Marlowick developers

#pragma once

#include "platform/press_monitors.h"

#include <QList>
#include <QObject>
#include <QPointer>
#include <QWindow>

#include <utility>

// Presses as a Wayland client hears of them. A client sees no presses on
// other clients' surfaces; what it does see is its window losing the
// keyboard, which a press elsewhere does (a surface that takes the keyboard
// on demand gives it up to a click on another window). So global monitors
// hear the keyboard leave this program's windows for another client's;
// local monitors hear presses in this program's windows, as on X11.
//
// Presses on an ignored window (the strip, which reports its own presses)
// reach no local monitor.
class WaylandPressMonitors : public QObject, public PressMonitors
{
    Q_OBJECT

public:
    explicit WaylandPressMonitors(QObject *parent = nullptr);
    ~WaylandPressMonitors() override;

    PressMonitor addGlobalPressMonitor(GlobalHandler handler) override;
    PressMonitor addLocalPressMonitor(LocalHandler handler) override;
    void removeMonitor(PressMonitor monitor) override;

    void ignoreWindow(QWindow *window) { m_ignored = window; }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void focusWindowChanged(QWindow *focus);

    QList<std::pair<quint64, GlobalHandler>> m_global;
    QList<std::pair<quint64, LocalHandler>> m_local;
    QPointer<QWindow> m_ignored;
    quint64 m_lastId = 0;
};
