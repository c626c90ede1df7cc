// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Marlowick developers

#include "platform/top_reservation.h"

#include <QTest>

using Strut = DesktopReservations::TopStrut;

class TopReservationTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void reservedTopOfAMonitor_data()
    {
        QTest::addColumn<QRect>("monitor");
        QTest::addColumn<DesktopReservations>("reservations");
        QTest::addColumn<bool>("soleMonitor");
        QTest::addColumn<int>("reserved");
        const QRect left(0, 0, 1920, 1080);
        const QRect right(1920, 0, 1920, 1080);
        const QRect taller(1920, 0, 2560, 1440);
        QTest::newRow("nothing") << left << DesktopReservations{} << true << 0;
        QTest::newRow("work area only") << left << DesktopReservations{QRect(0, 32, 1920, 1048), {}} << true << 32;
        QTest::newRow("work area below a bottom panel only")
            << left << DesktopReservations{QRect(0, 0, 1920, 1040), {}} << true << 0;
        QTest::newRow("dock over the whole width")
            << left << DesktopReservations{{}, {Strut{28, 0, 3839}}} << false << 28;
        QTest::newRow("dock on the other monitor")
            << right << DesktopReservations{{}, {Strut{28, 0, 1919}}} << false << 0;
        QTest::newRow("dock on this monitor beside another")
            << right << DesktopReservations{{}, {Strut{28, 0, 1919}, Strut{40, 1920, 3839}}} << false << 40;
        QTest::newRow("dock off the centre") << left << DesktopReservations{{}, {Strut{28, 0, 500}}} << true << 0;
        QTest::newRow("the larger of work area and struts")
            << taller << DesktopReservations{QRect(0, 48, 4480, 1392), {Strut{32, 1920, 4479}}} << false << 32;
        // One rectangle for the whole screen: with several monitors it says
        // nothing of one; with one, a dock's strut anywhere on it moved it.
        QTest::newRow("work area with several monitors")
            << left << DesktopReservations{QRect(0, 32, 3840, 1048), {}} << false << 0;
        QTest::newRow("work area cut by a small tray off the centre")
            << left << DesktopReservations{QRect(0, 24, 1920, 1056), {Strut{24, 1918, 1919}}} << true << 0;
        QTest::newRow("work area beside this monitor")
            << right << DesktopReservations{QRect(0, 32, 1920, 1048), {}} << true << 0;
        // Struts count from the top of the whole screen.
        QTest::newRow("monitor lower down")
            << QRect(0, 1080, 1920, 1080) << DesktopReservations{{}, {Strut{1112, 0, 1919}}} << false << 32;
        QTest::newRow("strut of the monitor above")
            << QRect(0, 1080, 1920, 1080) << DesktopReservations{{}, {Strut{32, 0, 1919}}} << false << 0;
        QTest::newRow("bogus strut as high as the monitor")
            << left << DesktopReservations{QRect(0, 24, 1920, 1056), {Strut{1080, 0, 1919}}} << true << 24;
        QTest::newRow("empty monitor") << QRect() << DesktopReservations{QRect(0, 32, 1920, 1048), {}} << true << 0;
    }

    void reservedTopOfAMonitor()
    {
        QFETCH(QRect, monitor);
        QFETCH(DesktopReservations, reservations);
        QFETCH(bool, soleMonitor);
        QFETCH(int, reserved);
        QCOMPARE(reservedTop(monitor, reservations, soleMonitor), reserved);
    }
};

QTEST_GUILESS_MAIN(TopReservationTest)
#include "top_reservation_test.moc"
