// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Marlowick developers

#include "platform/key_repeat_filter.h"
#include "platform/qt_scheduler.h"
#include "platform/x11_press_monitors.h"

#include <QKeyEvent>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>
#include <QWindow>

using namespace std::chrono_literals;
using namespace Qt::StringLiterals;

namespace {

// Records each press it gets: 'm' for the mouse, 'p' for a key, 'r' for an
// auto-repeated key.
class RecordingWindow : public QWindow
{
public:
    QString presses;

protected:
    void mousePressEvent(QMouseEvent *) override { presses += u'm'; }
    void keyPressEvent(QKeyEvent *event) override { presses += event->isAutoRepeat() ? u'r' : u'p'; }
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
        scheduler.runAfter(30ms, &context, [&] { ran.append(u"late"_s); });
        scheduler.runAfter(0ms, &context, [&] { ran.append(u"first"_s); });
        scheduler.runAfter(0ms, &context, [&] { ran.append(u"second"_s); });
        const ScheduledJob cancelled = scheduler.runAfter(0ms, &context, [&] { ran.append(u"cancelled"_s); });
        scheduler.runAfter(0ms, orphanContext.get(), [&] { ran.append(u"orphan"_s); });
        scheduler.cancel(cancelled);
        scheduler.cancel(cancelled); // twice is harmless
        orphanContext.reset();
        // Every timer is gone once its job has run or been cancelled.
        QTRY_VERIFY_WITH_TIMEOUT(scheduler.findChildren<QTimer *>().isEmpty(), 10000);
        QCOMPARE(ran, (QStringList{u"first"_s, u"second"_s, u"late"_s}));
    }

    void localMonitorSeesEachPressOnceAndLetsItThrough()
    {
        X11PressMonitors monitors;
        RecordingWindow window;
        window.resize(100, 100);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));

        QList<QWindow *> targets;
        QStringList seenBefore; // what the window had seen when the monitor saw a press
        const PressMonitor monitor = monitors.addLocalPressMonitor([&](QWindow *target) {
            seenBefore.append(window.presses);
            targets.append(target);
        });
        QVERIFY(monitor.isValid());
        QTest::mouseClick(&window, Qt::LeftButton, {}, QPoint(10, 10));
        QTest::mouseClick(&window, Qt::MiddleButton, {}, QPoint(10, 10)); // not watched
        QTest::mouseClick(&window, Qt::RightButton, {}, QPoint(10, 10));
        QCOMPARE(targets, (QList<QWindow *>{&window, &window}));
        QCOMPARE(seenBefore, (QStringList{QString(), u"mm"_s})); // each press before the window
        QCOMPARE(window.presses, u"mmm"_s);

        monitors.removeMonitor(monitor);
        monitors.removeMonitor(monitor);
        QTest::mouseClick(&window, Qt::RightButton, {}, QPoint(10, 10));
        QCOMPARE(targets.size(), 2);
        QCOMPARE(window.presses, u"mmmm"_s);
    }

    void keyRepeatsAreToldByTheServerTime_data()
    {
        // Key events as "p" (press) or "r" (release), the key code, "@" and
        // the server time; "*" where Qt guessed an auto-repeat. (Repeats that
        // Qt misses are tried on a real X server.)
        QTest::addColumn<QString>("events");
        QTest::addColumn<QString>("seen");
        QTest::newRow("held, Qt guessed right") << "p9@100 r9@600* p9@600* r9@633* p9@633* r9@650"
                                                << "prr";
        QTest::newRow("pressed again at once") << "p9@100 r9@180* p9@185*"
                                               << "pp";
        QTest::newRow("another key's time") << "p9@100 r9@180 p7@180"
                                            << "pp";
        QTest::newRow("made up, no time") << "p9@0 r9@0 p9@0* p9@0"
                                          << "prp";
    }

    void keyRepeatsAreToldByTheServerTime()
    {
        QFETCH(QString, events);
        QFETCH(QString, seen);
        KeyRepeatFilter filter;
        qApp->installEventFilter(&filter);
        RecordingWindow window;
        for (const QString &e : events.split(u' ')) {
            const auto at = e.indexOf(u'@');
            QKeyEvent key(e.startsWith(u'p') ? QEvent::KeyPress : QEvent::KeyRelease, Qt::Key_Down, {},
                          e.mid(1, at - 1).toUInt(), 0, 0, {}, e.endsWith(u'*'));
            key.setTimestamp(QStringView(e).mid(at + 1).chopped(e.endsWith(u'*') ? 1 : 0).toULongLong());
            QCoreApplication::sendEvent(&window, &key);
        }
        qApp->removeEventFilter(&filter);
        QCOMPARE(window.presses, seen);
    }
};

QTEST_MAIN(PlatformServicesTest)
#include "platform_services_test.moc"
