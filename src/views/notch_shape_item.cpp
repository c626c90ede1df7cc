// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Marlowick developers

#include "views/notch_shape_item.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPen>

NotchShapeItem::NotchShapeItem(QQuickItem *parent)
    : QQuickPaintedItem(parent)
{
    setAntialiasing(true);
}

void NotchShapeItem::setTopCornerRadius(double radius)
{
    if (m_shape.topCornerRadius == radius)
        return;
    m_shape.topCornerRadius = radius;
    update();
    Q_EMIT shapeChanged();
}

void NotchShapeItem::setBottomCornerRadius(double radius)
{
    if (m_shape.bottomCornerRadius == radius)
        return;
    m_shape.bottomCornerRadius = radius;
    update();
    Q_EMIT shapeChanged();
}

void NotchShapeItem::setStyle(auto &field, const auto &value)
{
    if (field == value)
        return;
    field = value;
    update();
    Q_EMIT styleChanged();
}

void NotchShapeItem::setFillColor(const QColor &color)
{
    setStyle(m_fillColor, color);
}
void NotchShapeItem::setStrokeWidth(double width)
{
    setStyle(m_strokeWidth, width);
}
void NotchShapeItem::setStrokeTopColor(const QColor &color)
{
    setStyle(m_strokeTopColor, color);
}
void NotchShapeItem::setStrokeBottomColor(const QColor &color)
{
    setStyle(m_strokeBottomColor, color);
}

void NotchShapeItem::paint(QPainter *painter)
{
    const QRectF bounds(0, 0, width(), height());
    if (bounds.isEmpty())
        return;
    painter->setRenderHint(QPainter::Antialiasing);
    if (m_strokeWidth <= 0) {
        painter->fillPath(m_shape.path(bounds), m_fillColor);
        return;
    }
    // Stroked inside the outline: the shape is inset by half the line width.
    QLinearGradient gradient(bounds.topLeft(), bounds.bottomLeft());
    gradient.setColorAt(0, m_strokeTopColor);
    gradient.setColorAt(1, m_strokeBottomColor);
    QPen pen(QBrush(gradient), m_strokeWidth, Qt::SolidLine, Qt::FlatCap, Qt::MiterJoin);
    pen.setMiterLimit(10);
    painter->strokePath(m_shape.inset(m_strokeWidth / 2).path(bounds), pen);
}
