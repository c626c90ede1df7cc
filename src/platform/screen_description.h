#pragma once

#include <QRectF>

#include <optional>

// One screen as the notch geometry needs it, in Qt's global coordinates
// (origin at the top left of the virtual desktop, y growing down).
struct ScreenDescription
{
    QRectF geometry;
    // What is left after the desktop's panels are taken off; the top panel's
    // height is availableGeometry.y() - geometry.y().
    QRectF availableGeometry;
    // The unobscured parts of the top strip left and right of a display
    // notch. Both are set on a screen with a notch; Qt reports none on Linux,
    // so only tests fill them.
    std::optional<QRectF> auxiliaryTopLeftArea;
    std::optional<QRectF> auxiliaryTopRightArea;

    bool operator==(const ScreenDescription &) const = default;
};
