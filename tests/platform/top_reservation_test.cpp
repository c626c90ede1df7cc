// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Marlowick developers

#include "top_reservation.h"

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
        QTest::addColumn<int>("reserved");
        const QRect left(0, 0, 1920, 1080);
        const QRect right(1920, 0, 1920, 1080);
        const QRect taller(1920, 0, 2560, 1440);
        QTest::newRow("nothing") << left << DesktopReservations{} << 0;
        QTest::newRow("work area only") << left << DesktopReservations{QRect(0, 32, 1920, 1048), {}} << 32;
        QTest::newRow("work area below a bottom panel only")
            << left << DesktopReservations{QRect(0, 0, 1920, 1040), {}} << 0;
        QTest::newRow("dock over the whole width") << left << DesktopReservations{{}, {Strut{28, 0, 3839}}} << 28;
        QTest::newRow("dock on the other monitor") << right << DesktopReservations{{}, {Strut{28, 0, 1919}}} << 0;
        QTest::newRow("dock on this monitor beside another")
            << right << DesktopReservations{{}, {Strut{28, 0, 1919}, Strut{40, 1920, 3839}}} << 40;
        QTest::newRow("dock off the centre") << left << DesktopReservations{{}, {Strut{28, 0, 500}}} << 0;
        QTest::newRow("the larger of work area and struts")
            << taller << DesktopReservations{QRect(0, 48, 4480, 1392), {Strut{32, 1920, 4479}}} << 48;
        QTest::newRow("work area beside this monitor")
            << right << DesktopReservations{QRect(0, 32, 1920, 1048), {}} << 0;
        // Struts count from the top of the whole screen.
        QTest::newRow("monitor lower down")
            << QRect(0, 1080, 1920, 1080) << DesktopReservations{{}, {Strut{1112, 0, 1919}}} << 32;
        QTest::newRow("strut of the monitor above")
            << QRect(0, 1080, 1920, 1080) << DesktopReservations{{}, {Strut{32, 0, 1919}}} << 0;
        QTest::newRow("bogus strut as high as the monitor")
            << left << DesktopReservations{QRect(0, 24, 1920, 1056), {Strut{1080, 0, 1919}}} << 24;
        QTest::newRow("empty monitor") << QRect() << DesktopReservations{QRect(0, 32, 1920, 1048), {}} << 0;
    }

    void reservedTopOfAMonitor()
    {
        QFETCH(QRect, monitor);
        QFETCH(DesktopReservations, reservations);
        QFETCH(int, reserved);
        QCOMPARE(reservedTop(monitor, reservations), reserved);
    }
};

QTEST_GUILESS_MAIN(TopReservationTest)
#include "top_reservation_test.moc"
