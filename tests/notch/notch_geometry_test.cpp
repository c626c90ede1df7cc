// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Marlowick developers

#include "notch/notch_geometry.h"

#include "support/platform/fake_screen_provider.h"

#include <QTest>

namespace {

// A 1920 x 1080 monitor (in logical pixels) with a 32-pixel top panel.
ScreenDescription plainScreen(QPointF origin = {}, qreal topPanel = 32, qreal ratio = 1)
{
    return ScreenDescription{QRectF(origin, QSizeF(1920, 1080)), topPanel, ratio};
}

} // namespace

class NotchGeometryTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void sensorIsPlacedInDevicePixels_data()
    {
        QTest::addColumn<QPointF>("origin");
        QTest::addColumn<qreal>("topPanel");
        QTest::addColumn<qreal>("ratio");
        QTest::addColumn<QRect>("device");
        QTest::addColumn<bool>("screenEdge");
        QTest::newRow("scale 1") << QPointF() << 32.0 << 1.0 << QRect(860, 0, 200, 32) << false;
        QTest::newRow("below and right") << QPointF(1920, 100) << 28.0 << 1.0 << QRect(2780, 100, 200, 28) << false;
        // 3840 x 2160 pixels with a 64-pixel top panel.
        QTest::newRow("scale 2") << QPointF() << 32.0 << 2.0 << QRect(1720, 0, 400, 64) << false;
        QTest::newRow("scale 1.5") << QPointF() << 32.0 << 1.5 << QRect(1290, 0, 300, 48) << false;
        // Qt keeps a monitor's corner where the server has it: right of a
        // 3840-pixel monitor, whatever the scale.
        QTest::newRow("right monitor, scale 2") << QPointF(3840, 0) << 32.0 << 2.0 << QRect(5560, 0, 400, 64) << false;
        // Nothing at the top: the edge, one device pixel high.
        QTest::newRow("no top panel") << QPointF() << 0.0 << 1.0 << QRect(860, 0, 200, 1) << true;
        QTest::newRow("an autohiding panel's sliver") << QPointF() << 2.0 << 1.0 << QRect(860, 0, 200, 1) << true;
        QTest::newRow("no top panel, scale 2") << QPointF() << 0.0 << 2.0 << QRect(1720, 0, 400, 1) << true;
        QTest::newRow("below another monitor, no top panel, scale 1.5")
            << QPointF(0, 1080) << 0.0 << 1.5 << QRect(1290, 1080, 300, 1) << true;
    }

    void sensorIsPlacedInDevicePixels()
    {
        QFETCH(QPointF, origin);
        QFETCH(qreal, topPanel);
        QFETCH(qreal, ratio);
        QFETCH(QRect, device);
        QFETCH(bool, screenEdge);
        // The primary screen is the second one.
        FakeScreenProvider screens;
        screens.screenList = {plainScreen(QPointF(-1920, 0)), plainScreen(origin, topPanel, ratio)};
        screens.primaryIndex = 1;
        const NotchGeometry g = detectNotchGeometry(screens);
        QCOMPARE(g.sensorDeviceRect, device);
        QCOMPARE(g.sensorIsScreenEdge, screenEdge);
        // The logical strip is 200 wide; the panel hangs from the top edge.
        QCOMPARE(g.sensorRect.width(), 200.0);
        QCOMPARE(g.sensorRect.height() * ratio, qreal(device.height()));
        QCOMPARE(g.panelTopCenter, QPointF(origin.x() + 960, origin.y() + g.sensorRect.height()));
        QCOMPARE(g.notchWidth, 200.0);
        QCOMPARE(g.panelFrame(), QRectF(origin.x() + 770, origin.y(), 380, 520));
    }

    void noScreenGivesFallback()
    {
        FakeScreenProvider screens;
        screens.primaryIndex = -1;
        NotchGeometry g = detectNotchGeometry(screens);
        QCOMPARE(g.sensorRect, QRectF(0, 0, 0, 0));
        QCOMPARE(g.panelTopCenter, QPointF(0, 0));
        QCOMPARE(g.notchWidth, 220.0);
        QCOMPARE(g.panelFrame(), QRectF(-190, 0, 380, 520));

        // Screens but none primary is the same as no screen.
        screens.screenList = {plainScreen()};
        QCOMPARE(detectNotchGeometry(screens), g);
    }
};

QTEST_GUILESS_MAIN(NotchGeometryTest)
#include "notch_geometry_test.moc"
