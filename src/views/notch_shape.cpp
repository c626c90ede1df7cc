// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Marlowick developers

#include "views/notch_shape.h"

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

// The rectangle the outline runs along and its two corner radii, clamped.
struct Corners {
    QRectF r;
    double t;
    double b;
};

Corners cornersFor(const NotchShape &shape, const QRectF &rect)
{
    // An inset that would consume the rectangle (or is not a number) leaves
    // its centre line: the path degenerates but stays inside rect.
    const double maxInset = std::min(rect.width(), rect.height()) * 0.5;
    const double i = std::isnan(shape.insetAmount) ? 0 : std::clamp(shape.insetAmount, -0.0, std::max(0.0, maxInset));
    const QRectF r = rect.adjusted(i, i, -i, -i);
    const double m = std::min(r.height(), r.width()) * 0.5;
    return {r, usableRadius(shape.topCornerRadius, m), usableRadius(shape.bottomCornerRadius, m)};
}

// How far in from the side the corner curve of radius q lies at distance d
// from the edge it meets. The quadratic from (0, q) to (q, 0) with control
// point (0, 0) is x = q s², y = q (1 - s)²: x = (√q - √d)² at y = d.
double cornerInset(double q, double d)
{
    if (d >= q)
        return 0;
    const double root = std::sqrt(q) - std::sqrt(std::max(0.0, d));
    return root * root;
}

} // namespace

QPainterPath NotchShape::path(const QRectF &rect) const
{
    const auto [r, t, b] = cornersFor(*this, rect);

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

QRegion NotchShape::pixelRegion(const QRectF &rect, double scale) const
{
    const auto [points, t, b] = cornersFor(*this, rect);
    const QRectF r(points.topLeft() * scale, points.size() * scale);
    if (!(scale > 0) || !std::isfinite(r.left() + r.right() + r.top() + r.bottom()) || r.isEmpty())
        return {};
    const double top = t * scale;
    const double bottom = b * scale;

    // Row by row; rows of the same span make one rectangle. Sorted by y and
    // one rectangle per band, as QRegion keeps them. Rows beyond what any
    // window can have (X coordinates are 16-bit) are left out.
    QList<QRect> rects;
    const int firstRow = int(std::ceil(std::max(r.top(), -32768.0) - 0.5));
    const int lastRow = int(std::floor(std::min(r.bottom(), 32767.0) - 0.5));
    for (int row = firstRow; row <= lastRow; ++row) {
        const double y = row + 0.5;
        const double inset = std::max(cornerInset(top, y - r.top()), cornerInset(bottom, r.bottom() - y));
        const int first = int(std::ceil(std::max(r.left() + inset, -32768.0) - 0.5));
        const int last = int(std::floor(std::min(r.right() - inset, 32767.0) - 0.5));
        if (last < first)
            continue;
        if (!rects.isEmpty() && rects.last().left() == first && rects.last().right() == last
            && rects.last().bottom() == row - 1)
            rects.last().setBottom(row);
        else
            rects.append(QRect(first, row, last - first + 1, 1));
    }
    QRegion region;
    region.setRects(rects.constData(), int(rects.size()));
    return region;
}
