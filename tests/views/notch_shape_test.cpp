// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Marlowick developers

#include "views/notch_shape.h"

#include <QPainterPath>
#include <QTest>

#include <cmath>
#include <limits>

using namespace Qt::StringLiterals;

namespace {

QList<QPointF> pointsOf(const QPainterPath &path)
{
    QList<QPointF> points;
    for (int i = 0; i < path.elementCount(); ++i)
        points.append(path.elementAt(i));
    return points;
}

} // namespace

class NotchShapeTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void bottomCornersAreQuadraticAndTheTopOnesSquare()
    {
        const QPainterPath path = NotchShape{0, 18, 0}.path(QRectF(10, 0, 340, 200));
        QCOMPARE(path.boundingRect(), QRectF(10, 0, 340, 200));
        // A quadratic bulges less than a quarter circle: the curve's midpoint
        // lies at a quarter of the radius from the corner along the diagonal
        // (a circle would reach 0.29 r).
        const QPointF mid = 0.25 * QPointF(350, 182) + 0.5 * QPointF(350, 200) + 0.25 * QPointF(332, 200);
        QVERIFY(path.contains(mid - QPointF(0.01, 0.01)));
        QVERIFY(!path.contains(mid + QPointF(0.01, 0.01)));
        QVERIFY(!path.contains(QPointF(350 - 18 * 0.2, 200 - 18 * 0.2)));
        QVERIFY(path.contains(QPointF(10.01, 0.01)));
        QVERIFY(path.contains(QPointF(349.99, 0.01)));
    }

    void radiiAreClampedToHalfTheSmallerSideOfTheInsetRectangle()
    {
        // 100 x 30 with bottom radius 18: corners of 15.
        QVERIFY(pointsOf(NotchShape{0, 18, 0}.path(QRectF(0, 0, 100, 30))).contains(QPointF(85, 30)));
        // Both radii against the same half: they never overlap.
        const QList<QPointF> both = pointsOf(NotchShape{40, 40, 0}.path(QRectF(0, 0, 100, 30)));
        QVERIFY(both.contains(QPointF(0, 15)) && both.contains(QPointF(15, 0)));
        // Inset 0.25 on 200 x 40: r = (0.25, 0.25, 199.5, 39.5), clamp 19.75.
        const QPainterPath inset = NotchShape{0, 30, 0.25}.path(QRectF(0, 0, 200, 40));
        QCOMPARE(inset.boundingRect(), QRectF(0.25, 0.25, 199.5, 39.5));
        QVERIFY(pointsOf(inset).contains(QPointF(199.75, 40 - 0.25 - 19.75)));
        // Insets add up and keep the radii.
        const NotchShape twice = NotchShape{3, 18, 0}.inset(0.25).inset(0.25);
        QCOMPARE(twice.path(QRectF(0, 0, 100, 50)).boundingRect(), QRectF(0.5, 0.5, 99, 49));
        QCOMPARE(std::pair(twice.topCornerRadius, twice.bottomCornerRadius), std::pair(3.0, 18.0));
    }

    void pixelRegionHoldsThePixelsWhoseCentresLieInside_data()
    {
        QTest::addColumn<NotchShape>("shape");
        QTest::addColumn<QRectF>("rect");
        QTest::addColumn<double>("scale");
        QTest::newRow("open body") << NotchShape{0, 18, 0} << QRectF(20.2, 0, 60, 45.3) << 1.0;
        QTest::newRow("scale 2, between pixels") << NotchShape{0, 12.6, 0} << QRectF(7.3, 0, 40.2, 30) << 2.0;
        QTest::newRow("scale 1.5, both radii") << NotchShape{6, 9, 0} << QRectF(3.1, 2.2, 31, 27) << 1.5;
        QTest::newRow("clamped to half the height") << NotchShape{0, 18, 0} << QRectF(0.4, 0, 50, 9) << 2.0;
        QTest::newRow("inset") << NotchShape{0, 8, 2.5} << QRectF(0.1, 0, 30, 20.2) << 1.0;
    }

    void pixelRegionHoldsThePixelsWhoseCentresLieInside()
    {
        QFETCH(NotchShape, shape);
        QFETCH(QRectF, rect);
        QFETCH(double, scale);
        const QRegion region = shape.pixelRegion(rect, scale);
        const QPainterPath path = shape.path(rect);
        const QRect pixels = QRectF(rect.topLeft() * scale, rect.size() * scale).toAlignedRect();
        int inside = 0;
        for (int y = pixels.top(); y <= pixels.bottom(); ++y) {
            for (int x = pixels.left(); x <= pixels.right(); ++x) {
                const bool expected = path.contains(QPointF(x + 0.5, y + 0.5) / scale);
                QVERIFY2(region.contains(QPoint(x, y)) == expected, qPrintable(u"pixel %1, %2"_s.arg(x).arg(y)));
                inside += expected;
            }
        }
        QVERIFY(inside > pixels.width() * pixels.height() / 2);
        QVERIFY(pixels.contains(region.boundingRect()));
    }

    void unusableValuesGiveNothingOrStayInsideTheRectangle()
    {
        const QRectF rect(0, 0, 60, 20);
        const double nan = std::numeric_limits<double>::quiet_NaN();
        for (const NotchShape &shape :
             {NotchShape{-5, nan, 0}, NotchShape{5, 5, 50}, NotchShape{5, 5, nan}, NotchShape{5, 5, -4}}) {
            const QRectF bounds = shape.path(rect).boundingRect();
            QVERIFY(rect.contains(bounds) || bounds.isEmpty());
            for (const QPointF &p : pointsOf(shape.path(rect)))
                QVERIFY(std::isfinite(p.x()) && std::isfinite(p.y()));
        }
        const NotchShape shape{0, 8, 0};
        QVERIFY(shape.pixelRegion(QRectF(10, 0, 200, 0)).isEmpty()); // a closed body
        QVERIFY(shape.pixelRegion(QRectF(nan, 0, 200, 10)).isEmpty());
        // Far beyond any window: bounded, not a loop over a billion rows.
        QCOMPARE(shape.pixelRegion(QRectF(0, 0, 10, 1e12)).boundingRect(), QRect(0, 0, 10, 32767));
    }
};

QTEST_MAIN(NotchShapeTest)
#include "notch_shape_test.moc"
