#include "notch_geometry.h"

#include "screen_provider.h"

namespace {

bool hasNotch(const ScreenDescription &screen)
{
    return screen.auxiliaryTopLeftArea && screen.auxiliaryTopRightArea;
}

NotchGeometry fromNotch(const QRectF &left, const QRectF &right)
{
    // The notch is the gap between the two areas. QRectF::right() is x + width
    // (unlike QRect's, which is one pixel short).
    const qreal width = right.x() - left.right();
    NotchGeometry g;
    g.sensorRect = QRectF(left.right(), left.y(), width, left.height());
    g.panelTopCenter = QPointF(left.right() + width / 2, left.bottom());
    g.notchWidth = width;
    g.screenHasNotch = true;
    return g;
}

NotchGeometry fromStrip(const ScreenDescription &screen)
{
    const QRectF frame = screen.geometry;
    // The top panel's height; 0 when it is hidden (or absent, as on a bare X
    // server), which leaves an empty strip that never reports anything.
    const qreal topPanel = screen.availableGeometry.y() - frame.y();
    const qreal centreX = frame.x() + frame.width() / 2;
    NotchGeometry g;
    g.sensorRect = QRectF(centreX - NotchGeometry::stripWidth / 2, frame.y(), NotchGeometry::stripWidth, topPanel);
    g.panelTopCenter = QPointF(centreX, frame.y() + topPanel);
    g.notchWidth = NotchGeometry::stripWidth;
    g.screenHasNotch = false;
    return g;
}

} // namespace

QRectF NotchGeometry::panelFrame() const
{
    return QRectF(panelTopCenter.x() - panelWidth / 2, sensorRect.y(), panelWidth, panelHeight);
}

NotchGeometry detectNotchGeometry(const ScreenProvider &screens)
{
    const QList<ScreenDescription> all = screens.screens();
    for (const ScreenDescription &screen : all) {
        if (hasNotch(screen))
            return fromNotch(*screen.auxiliaryTopLeftArea, *screen.auxiliaryTopRightArea);
    }
    const std::optional<ScreenDescription> primary = screens.primaryScreen();
    if (!primary)
        return NotchGeometry{};
    return fromStrip(*primary);
}
