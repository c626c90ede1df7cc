#pragma once

#include "press_monitors.h"

#include <QMap>

// Monitors that tests fire by hand.
class FakePressMonitors : public PressMonitors
{
public:
    // When false, global monitors cannot be installed (no XInput2).
    bool globalAvailable = true;

    PressMonitor addGlobalPressMonitor(GlobalHandler handler) override
    {
        if (!globalAvailable)
            return {};
        m_global.insert(++m_lastId, std::move(handler));
        return PressMonitor{m_lastId};
    }
    PressMonitor addLocalPressMonitor(LocalHandler handler) override
    {
        m_local.insert(++m_lastId, std::move(handler));
        return PressMonitor{m_lastId};
    }
    void removeMonitor(PressMonitor monitor) override
    {
        m_global.remove(monitor.id);
        m_local.remove(monitor.id);
    }

    qsizetype globalCount() const { return m_global.size(); }
    qsizetype localCount() const { return m_local.size(); }

    // A press in another application (or anywhere).
    void pressGlobally()
    {
        const auto handlers = m_global;
        for (const auto &handler : handlers)
            handler();
    }
    // A press in one of this application's windows, before delivery.
    void pressLocally(QWindow *target)
    {
        const auto handlers = m_local;
        for (const auto &handler : handlers)
            handler(target);
    }

private:
    QMap<quint64, GlobalHandler> m_global;
    QMap<quint64, LocalHandler> m_local;
    quint64 m_lastId = 0;
};
