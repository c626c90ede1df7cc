// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Marlowick developers

#include "views/spring_curve.h"
#include "views/spring_value.h"

#include <QSignalSpy>
#include <QTest>

#include <cmath>

class SpringTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void overshootsOnlyBelowCriticalDampingAndSettlesInItsTime_data()
    {
        QTest::addColumn<double>("damping");
        for (const double damping : {0.5, 0.72, 1.0, 2.0})
            QTest::addRow("%g", damping) << damping;
    }
    void overshootsOnlyBelowCriticalDampingAndSettlesInItsTime()
    {
        QFETCH(double, damping);
        const SpringCurve spring(0.45, damping);
        double peak = 0;
        for (double t = 0; t < 3; t += 0.001)
            peak = std::max(peak, spring.valueAt(t));
        QVERIFY(damping < 1 ? peak > 1.01 : peak <= 1.0 + 1e-12);
        const double settled = spring.settlingTime(0.001);
        QVERIFY(settled > 0.1 && settled < 5);
        for (double t = settled; t < settled + 3; t += 0.0005)
            QVERIFY2(std::abs(spring.valueAt(t) - 1) <= 0.001, qPrintable(QString::number(t)));
        QVERIFY(std::abs(spring.valueAt(settled * 0.5) - 1) > 0.001); // ... and not much earlier
        // The easing curve spans the same motion over its duration.
        QCOMPARE(spring.easingCurve().valueForProgress(0.3), spring.valueAt(0.3 * spring.settlingTime()));
    }

    void retargetingContinuesFromThePositionAndVelocityOnScreen()
    {
        SpringValue value;
        value.setTarget(0); // the first target is taken at once
        QCOMPARE(value.value(), 0.0);
        QVERIFY(!value.isRunning());

        value.setTarget(1);
        value.advanceTo(0.12);
        const double position = value.value();
        const double velocity = value.velocity();
        QVERIFY(position > 0.1 && position < 0.9);
        QVERIFY(velocity > 0);

        // Reversed mid-way: no jump, and the motion first carries on, the
        // first frame shown already one frame into it.
        value.setTarget(0);
        QVERIFY(value.value() > position && value.value() < position + velocity / 60);
        value.advanceTo(0.004);
        QVERIFY(std::abs(value.value() - (position + velocity * 0.004)) < 0.002);
        QVERIFY(value.value() > position);

        // It comes to rest on the target and stops.
        value.advanceTo(5);
        QCOMPARE(value.value(), 0.0);
        QVERIFY(!value.isRunning());

        // A spring running on the animation clock settles by itself.
        value.setTarget(1);
        QTRY_COMPARE_WITH_TIMEOUT(value.value(), 1.0, 10000);
    }
};

QTEST_MAIN(SpringTest)
#include "spring_test.moc"
