#include "notch_shape.h"

#include <algorithm>
#include <cmath>

namespace {

// Negative and not-a-number radii give square corners.
double usableRadius(double radius, double limit)
{
    if (!(radius > 0))
        return 0;
    return std::min(radius, limit);
}

} // namespace

QPainterPath NotchShape::path(const QRectF &rect) const
{
    // An inset that would consume the rectangle (or is not a number) leaves
    // its centre line: the path degenerates but stays inside rect.
    const double maxInset = std::min(rect.width(), rect.height()) * 0.5;
    const double i = std::isnan(insetAmount) ? 0 : std::clamp(insetAmount, -0.0, std::max(0.0, maxInset));
    const QRectF r = rect.adjusted(i, i, -i, -i);

    const double m = std::min(r.height(), r.width()) * 0.5;
    const double t = usableRadius(topCornerRadius, m);
    const double b = usableRadius(bottomCornerRadius, m);

    const double minX = r.left();
    const double maxX = r.right();
    const double minY = r.top();
    const double maxY = r.bottom();

    QPainterPath path;
    path.moveTo(minX, minY + t);
    path.quadTo(QPointF(minX, minY), QPointF(minX + t, minY));
    path.lineTo(maxX - t, minY);
    path.quadTo(QPointF(maxX, minY), QPointF(maxX, minY + t));
    path.lineTo(maxX, maxY - b);
    path.quadTo(QPointF(maxX, maxY), QPointF(maxX - b, maxY));
    path.lineTo(minX + b, maxY);
    path.quadTo(QPointF(minX, maxY), QPointF(minX, maxY - b));
    path.closeSubpath();
    return path;
}
