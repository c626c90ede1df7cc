// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Marlowick developers

#pragma once

#include "platform/press_monitors.h"

#include <QMap>

// Monitors that tests fire by hand.
class FakePressMonitors : public PressMonitors
{
public:
    bool globalAvailable = true; // false: no XInput2
    QMap<quint64, GlobalHandler> global;
    QMap<quint64, LocalHandler> local;

    PressMonitor addGlobalPressMonitor(GlobalHandler handler) override
    {
        if (!globalAvailable)
            return {};
        global.insert(++m_lastId, std::move(handler));
        return PressMonitor{m_lastId};
    }
    PressMonitor addLocalPressMonitor(LocalHandler handler) override
    {
        local.insert(++m_lastId, std::move(handler));
        return PressMonitor{m_lastId};
    }
    void removeMonitor(PressMonitor monitor) override
    {
        global.remove(monitor.id);
        local.remove(monitor.id);
    }

    // A press in another application (or anywhere).
    void pressGlobally()
    {
        for (const auto &handler : QMap(global))
            handler();
    }
    // A press in one of this application's windows, before delivery.
    void pressLocally(QWindow *target)
    {
        for (const auto &handler : QMap(local))
            handler(target);
    }

private:
    quint64 m_lastId = 0;
};
