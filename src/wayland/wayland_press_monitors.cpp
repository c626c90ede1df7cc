// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Marlowick developers

#include "wayland/wayland_press_monitors.h"

#include <QGuiApplication>
#include <QMouseEvent>

namespace {

template<typename Handler>
bool removeById(QList<std::pair<quint64, Handler>> &list, quint64 id)
{
    return list.removeIf([id](const auto &entry) { return entry.first == id; }) > 0;
}

} // namespace

WaylandPressMonitors::WaylandPressMonitors(QObject *parent)
    : QObject(parent)
{
    connect(qGuiApp, &QGuiApplication::focusWindowChanged, this, &WaylandPressMonitors::focusWindowChanged);
    QCoreApplication::instance()->installEventFilter(this);
}

WaylandPressMonitors::~WaylandPressMonitors()
{
    QCoreApplication::instance()->removeEventFilter(this);
}

PressMonitor WaylandPressMonitors::addGlobalPressMonitor(GlobalHandler handler)
{
    m_global.append({++m_lastId, std::move(handler)});
    return PressMonitor{m_lastId};
}

PressMonitor WaylandPressMonitors::addLocalPressMonitor(LocalHandler handler)
{
    m_local.append({++m_lastId, std::move(handler)});
    return PressMonitor{m_lastId};
}

void WaylandPressMonitors::removeMonitor(PressMonitor monitor)
{
    if (monitor.isValid() && !removeById(m_global, monitor.id))
        removeById(m_local, monitor.id);
}

void WaylandPressMonitors::focusWindowChanged(QWindow *focus)
{
    // The keyboard went to another client (or to a window of this one that
    // is not ours to judge: a menu of the tray item keeps it).
    if (focus)
        return;
    const auto handlers = m_global;
    for (const auto &[id, handler] : handlers)
        handler();
}

bool WaylandPressMonitors::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() != QEvent::MouseButtonPress || m_local.isEmpty())
        return false;
    auto *window = qobject_cast<QWindow *>(watched);
    const auto button = static_cast<QMouseEvent *>(event)->button();
    if (!window || window == m_ignored || !countsAsPress(button))
        return false;
    const auto handlers = m_local;
    for (const auto &[id, handler] : handlers)
        handler(window);
    return false;
}
