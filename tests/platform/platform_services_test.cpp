#include "qt_scheduler.h"
#include "x11_press_monitors.h"

#include "support/test_main.h"

#include <QSignalSpy>
#include <QTest>
#include <QWindow>

using namespace std::chrono_literals;

namespace {

class PressCountingWindow : public QWindow
{
public:
    int presses = 0;

protected:
    void mousePressEvent(QMouseEvent *) override { ++presses; }
};

} // namespace

class PlatformServicesTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void schedulerRunsInOrderUnlessCancelledOrOrphaned()
    {
        QtScheduler scheduler;
        QObject context;
        auto orphanContext = std::make_unique<QObject>();
        QStringList ran;
        scheduler.runAfter(30ms, &context, [&] { ran.append(QStringLiteral("late")); });
        scheduler.runAfter(0ms, &context, [&] { ran.append(QStringLiteral("first")); });
        scheduler.runAfter(0ms, &context, [&] { ran.append(QStringLiteral("second")); });
        const ScheduledJob cancelled = scheduler.runAfter(0ms, &context, [&] { ran.append(QStringLiteral("cancelled")); });
        scheduler.runAfter(0ms, orphanContext.get(), [&] { ran.append(QStringLiteral("orphan")); });
        scheduler.cancel(cancelled);
        scheduler.cancel(cancelled); // twice is harmless
        orphanContext.reset();
        QTRY_COMPARE_WITH_TIMEOUT(scheduler.pendingCount(), 0, 10000);
        QCOMPARE(ran, (QStringList{QStringLiteral("first"), QStringLiteral("second"), QStringLiteral("late")}));
    }

    void localMonitorSeesEachPressOnceAndLetsItThrough()
    {
        X11PressMonitors monitors;
        PressCountingWindow window;
        window.resize(100, 100);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));

        QList<QWindow *> targets;
        const PressMonitor monitor = monitors.addLocalPressMonitor([&](QWindow *target) {
            // Sees the press before the window does.
            QCOMPARE(window.presses, 0);
            targets.append(target);
        });
        QVERIFY(monitor.isValid());
        QTest::mouseClick(&window, Qt::LeftButton, {}, QPoint(10, 10));
        QTest::mouseClick(&window, Qt::MiddleButton, {}, QPoint(10, 10)); // not watched
        QCOMPARE(targets, QList<QWindow *>{&window});
        QCOMPARE(window.presses, 2);

        monitors.removeMonitor(monitor);
        monitors.removeMonitor(monitor);
        QTest::mouseClick(&window, Qt::RightButton, {}, QPoint(10, 10));
        QCOMPARE(targets.size(), 1);
        QCOMPARE(window.presses, 3);
    }

    void globalMonitorNeedsX11()
    {
        if (QGuiApplication::platformName() == QLatin1String("xcb"))
            QSKIP("covered by the tests on a real X server");
        X11PressMonitors monitors;
        QVERIFY(!monitors.addGlobalPressMonitor([] {}).isValid());
    }
};

MARLOWICK_TEST(PlatformServicesTest)
#include "platform_services_test.moc"
