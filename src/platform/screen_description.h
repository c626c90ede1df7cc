// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Marlowick developers

#pragma once

#include <QRect>
#include <QRectF>

// One screen (monitor) as the notch geometry needs it, in Qt's global
// coordinates (origin at the top left of the virtual desktop, y growing
// down, logical pixels).
struct ScreenDescription {
    QRectF geometry;
    // The height the desktop keeps for its top panel on this screen; 0 when
    // it has none (or hides it).
    qreal topPanelHeight = 0;
    // Device pixels per logical pixel.
    qreal devicePixelRatio = 1;

    // Where a rectangle on this screen lies in the X server's pixels: Qt
    // keeps each screen's top-left corner where the server has it and
    // scales the rest by the screen's ratio. Edges are rounded each on its
    // own, so that adjoining rectangles stay adjoining.
    QRect toDevicePixels(const QRectF &rect) const
    {
        const QPointF origin = geometry.topLeft();
        const auto x = [&](qreal v) { return qRound(origin.x() + (v - origin.x()) * devicePixelRatio); };
        const auto y = [&](qreal v) { return qRound(origin.y() + (v - origin.y()) * devicePixelRatio); };
        const int left = x(rect.left());
        const int top = y(rect.top());
        return QRect(left, top, x(rect.right()) - left, y(rect.bottom()) - top);
    }

    bool operator==(const ScreenDescription &) const = default;
};
