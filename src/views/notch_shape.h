// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Marlowick developers

#pragma once

#include <QPainterPath>
#include <QRectF>
#include <QRegion>

// The panel's outline: a rectangle whose corners are rounded with quadratic
// curves (the rectangle's corner is the control point), the two top corners
// with one radius and the two bottom corners with another. A plain value; the
// radii are clamped only when a path is built.
struct NotchShape {
    double topCornerRadius = 0;
    double bottomCornerRadius = 0;
    // How far the outline lies inside the rectangle it is given.
    double insetAmount = 0;

    // The closed outline for the rectangle, clockwise on screen (y down),
    // starting at the left edge below the top-left corner. Never leaves rect.
    QPainterPath path(const QRectF &rect) const;

    // The whole pixels whose centres lie inside the outline for rect (in
    // points), at `scale` pixels per point: what a window shape made of
    // pixels can follow.
    QRegion pixelRegion(const QRectF &rect, double scale = 1) const;

    // A copy whose outline lies `amount` further inside; insets add up.
    NotchShape inset(double amount) const { return {topCornerRadius, bottomCornerRadius, insetAmount + amount}; }

    friend bool operator==(const NotchShape &, const NotchShape &) = default;
};
