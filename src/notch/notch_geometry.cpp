// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Marlowick developers

#include "notch_geometry.h"

#include "screen_provider.h"

namespace {

bool hasNotch(const ScreenDescription &screen)
{
    return screen.auxiliaryTopLeftArea && screen.auxiliaryTopRightArea;
}

NotchGeometry fromNotch(const ScreenDescription &screen)
{
    const QRectF left = *screen.auxiliaryTopLeftArea;
    const QRectF right = *screen.auxiliaryTopRightArea;
    // The notch is the gap between the two areas. QRectF::right() is x + width
    // (unlike QRect's, which is one pixel short).
    const qreal width = right.x() - left.right();
    NotchGeometry g;
    g.sensorRect = QRectF(left.right(), left.y(), width, left.height());
    g.sensorDeviceRect = screen.toDevicePixels(g.sensorRect);
    g.panelTopCenter = QPointF(left.right() + width / 2, left.bottom());
    g.notchWidth = width;
    return g;
}

NotchGeometry fromStrip(const ScreenDescription &screen)
{
    const QRectF frame = screen.geometry;
    const qreal centreX = frame.x() + frame.width() / 2;
    NotchGeometry g;
    const qreal width = PanelMetrics::stripWidth();
    g.sensorRect = QRectF(centreX - width / 2, frame.y(), width, screen.topPanelHeight);
    g.sensorDeviceRect = screen.toDevicePixels(g.sensorRect);
    if (g.sensorDeviceRect.height() <= 0 || screen.topPanelHeight < PanelMetrics::minimumTopPanelHeight()) {
        // No top panel (or a hidden one): the screen's top edge.
        g.sensorIsScreenEdge = true;
        g.sensorDeviceRect.setHeight(1);
        g.sensorRect.setHeight(1 / screen.devicePixelRatio);
    }
    g.panelTopCenter = QPointF(centreX, frame.y() + g.sensorRect.height());
    g.notchWidth = width;
    return g;
}

} // namespace

QRectF NotchGeometry::panelFrame() const
{
    const qreal width = PanelMetrics::windowWidth();
    return QRectF(panelTopCenter.x() - width / 2, sensorRect.y(), width, PanelMetrics::windowHeight());
}

NotchGeometry detectNotchGeometry(const ScreenProvider &screens)
{
    const QList<ScreenDescription> all = screens.screens();
    for (const ScreenDescription &screen : all) {
        if (hasNotch(screen))
            return fromNotch(screen);
    }
    const std::optional<ScreenDescription> primary = screens.primaryScreen();
    if (!primary)
        return NotchGeometry{};
    return fromStrip(*primary);
}
