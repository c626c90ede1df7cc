// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Marlowick developers

#include "notch/notch_geometry.h"

#include "platform/screen_provider.h"

namespace {

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
    const std::optional<ScreenDescription> primary = screens.primaryScreen();
    if (!primary)
        return NotchGeometry{};
    return fromStrip(*primary);
}
