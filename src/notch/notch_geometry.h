#pragma once

#include <QPointF>
#include <QRect>
#include <QRectF>

class ScreenProvider;

// Where the notch is and where the panel hangs, in Qt's global coordinates
// (y grows down). On a screen without a notch the "notch" is a 200-pixel
// strip of the top panel at the top centre of the primary screen; without
// a top panel it is that screen's top edge, one device pixel high.
struct NotchGeometry
{
    static constexpr qreal panelWidth = 380;
    static constexpr qreal panelHeight = 520;
    // With no screen at all there is nothing to measure; the panel's root
    // view still needs a width to open from.
    static constexpr qreal fallbackNotchWidth = 220;
    static constexpr qreal stripWidth = 200;

    // What the sensor window covers: the notch, or the strip.
    QRectF sensorRect;
    // The same in the X server's pixels, where the sensor window is placed.
    QRect sensorDeviceRect;
    // x: horizontal centre of the notch; y: its lower edge.
    QPointF panelTopCenter;
    qreal notchWidth = fallbackNotchWidth;
    bool screenHasNotch = false;
    // The sensor is the bare top edge of a screen without a top panel. The
    // pointer meets it on its way to anything at the top (a tab, a menu), so
    // only resting on it counts as wanting the panel.
    bool sensorIsScreenEdge = false;

    // 380 x 520, centred on the notch, its top edge on the top edge of the
    // sensor (which is the top edge of the screen).
    QRectF panelFrame() const;

    bool operator==(const NotchGeometry &) const = default;
};

// Computes the geometry from the screens: the first screen that reports both
// areas beside a notch, else the primary screen, else a fallback. Never fails.
NotchGeometry detectNotchGeometry(const ScreenProvider &screens);
