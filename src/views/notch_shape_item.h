// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Marlowick developers

#pragma once

#include "views/notch_shape.h"

#include <QColor>
#include <QQuickPaintedItem>
#include <QtQmlIntegration/qqmlintegration.h>

// Paints a NotchShape over the item's whole rectangle: filled with a colour,
// or stroked inside its outline with a line whose colour runs from
// `strokeTopColor` at the top edge to `strokeBottomColor` at the bottom edge.
// Both radii are properties, so QML animates them.
class NotchShapeItem : public QQuickPaintedItem
{
    Q_OBJECT
    QML_ELEMENT
    Q_PROPERTY(double topCornerRadius READ topCornerRadius WRITE setTopCornerRadius NOTIFY shapeChanged)
    Q_PROPERTY(double bottomCornerRadius READ bottomCornerRadius WRITE setBottomCornerRadius NOTIFY shapeChanged)
    Q_PROPERTY(QColor fillColor READ fillColor WRITE setFillColor NOTIFY styleChanged)
    // 0 fills; above 0 strokes inside the outline with a line this wide.
    Q_PROPERTY(double strokeWidth READ strokeWidth WRITE setStrokeWidth NOTIFY styleChanged)
    Q_PROPERTY(QColor strokeTopColor READ strokeTopColor WRITE setStrokeTopColor NOTIFY styleChanged)
    Q_PROPERTY(QColor strokeBottomColor READ strokeBottomColor WRITE setStrokeBottomColor NOTIFY styleChanged)

public:
    explicit NotchShapeItem(QQuickItem *parent = nullptr);

    double topCornerRadius() const { return m_shape.topCornerRadius; }
    void setTopCornerRadius(double radius);
    double bottomCornerRadius() const { return m_shape.bottomCornerRadius; }
    void setBottomCornerRadius(double radius);

    QColor fillColor() const { return m_fillColor; }
    void setFillColor(const QColor &color);
    double strokeWidth() const { return m_strokeWidth; }
    void setStrokeWidth(double width);
    QColor strokeTopColor() const { return m_strokeTopColor; }
    void setStrokeTopColor(const QColor &color);
    QColor strokeBottomColor() const { return m_strokeBottomColor; }
    void setStrokeBottomColor(const QColor &color);

    NotchShape shape() const { return m_shape; }

    void paint(QPainter *painter) override;

Q_SIGNALS:
    void shapeChanged();
    void styleChanged();

private:
    void setStyle(auto &field, const auto &value);

    NotchShape m_shape;
    QColor m_fillColor = Qt::black;
    double m_strokeWidth = 0;
    QColor m_strokeTopColor = Qt::transparent;
    QColor m_strokeBottomColor = Qt::transparent;
};
