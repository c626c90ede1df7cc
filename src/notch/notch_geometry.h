// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Marlowick developers

#pragma once

#include "views/panel_metrics.h"

#include <QPointF>
#include <QRect>
#include <QRectF>

class ScreenProvider;

// Where the notch is and where the panel hangs, in Qt's global coordinates
// (y grows down). The "notch" is a strip of the top panel at the top centre
// of the primary screen; without a top panel it is that screen's top edge,
// one device pixel high.
struct NotchGeometry {
    // What the sensor window covers: the notch, or the strip.
    QRectF sensorRect;
    // The same in the X server's pixels, where the sensor window is placed.
    QRect sensorDeviceRect;
    // x: horizontal centre of the notch; y: its lower edge.
    QPointF panelTopCenter;
    qreal notchWidth = PanelMetrics::fallbackNotchWidth();
    // The sensor is the bare top edge of a screen without a top panel. The
    // pointer meets it on its way to anything at the top (a tab, a menu), so
    // only resting on it counts as wanting the panel.
    bool sensorIsScreenEdge = false;

    // The panel window's, centred on the notch, its top edge on the top edge
    // of the sensor (which is the top edge of the screen).
    QRectF panelFrame() const;

    bool operator==(const NotchGeometry &) const = default;
};

// Computes the geometry from the primary screen, else a fallback. Never fails.
NotchGeometry detectNotchGeometry(const ScreenProvider &screens);
