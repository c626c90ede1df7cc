// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Marlowick developers

#include "platform/top_reservation.h"

#include <algorithm>

namespace {

// How far an edge at y (in screen coordinates) reaches into the monitor
// from its top; 0 when it does not, or reaches all the way through.
int reachInto(const QRect &monitor, qint64 y)
{
    const qint64 reach = y - monitor.y();
    return reach > 0 && reach < monitor.height() ? int(reach) : 0;
}

} // namespace

int reservedTop(const QRect &monitor, const DesktopReservations &reservations, bool soleMonitor)
{
    if (monitor.isEmpty())
        return 0;
    const int centreX = monitor.x() + monitor.width() / 2;
    int reserved = 0;
    bool strutOnMonitor = false;
    for (const DesktopReservations::TopStrut &strut : reservations.topStruts) {
        const int reach = reachInto(monitor, strut.height);
        strutOnMonitor = strutOnMonitor || (reach > 0 && strut.startX <= monitor.right() && strut.endX >= monitor.x());
        if (strut.startX <= centreX && centreX <= strut.endX)
            reserved = std::max(reserved, reach);
    }
    if (const auto &area = reservations.workArea;
        area && soleMonitor && !strutOnMonitor && area->left() <= centreX && centreX <= area->right())
        reserved = std::max(reserved, reachInto(monitor, area->y()));
    return reserved;
}
