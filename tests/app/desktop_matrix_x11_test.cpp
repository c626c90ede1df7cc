// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Marlowick developers

// The real marlowick program on the desktops people run: combinations of
// scale, monitors, compositing manager, top panel and window manager, one
// private X server and one start of the program per combination.
#include "support/x11/marlowick_process.h"
#include "support/x11/x_desktop.h"

#include <QTest>

using namespace Qt::StringLiterals;

Q_DECLARE_METATYPE(DesktopKind)

static constexpr int timeout = 20000;

// As QTRY_VERIFY, but a failure costs the time-out once, not three times
// over: a desktop that fails names its row at once and leaves time for the
// others.
#define WAIT_FOR(condition) QVERIFY2(QTest::qWaitFor([&] { return bool(condition); }, timeout), #condition)

class DesktopMatrixX11Test : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    // A desktop that fails costs one time-out; once three have failed, the
    // others are skipped, so that a fault that breaks every desktop names
    // three of them within a minute or two.
    void init()
    {
        if (m_failedDesktops >= 3)
            QSKIP("three desktops have failed already");
    }
    void cleanup()
    {
        if (QTest::currentTestFailed())
            ++m_failedDesktops;
    }

    // Every pair of any two choices comes together on one desktop: scale
    // (1; 2 through Xft.dpi; 1.5 through QT_SCALE_FACTOR), monitors, a
    // compositing manager, the top panel (none, a dock window of the
    // desktop's own, or tint2), the window manager, and how the panel is
    // closed. Five window managers by four kinds of monitors make twenty
    // desktops at least; these twenty, one for each such two, hold every
    // other pair as well. Sorted by monitors, then window manager.
    void onEveryDesktop_data()
    {
        QTest::addColumn<DesktopKind>("kind");
        QTest::addColumn<QString>("closing");
        const char *rows[] = {
            "scale 2, one monitor, composited, top panel, no window manager, Escape",
            "scale 1, one monitor, top panel, openbox, click elsewhere",
            "scale 1, one monitor, composited, no top panel, icewm, pointer gone",
            "scale 1, one monitor, tint2, fluxbox, Escape",
            "scale 1.5, one monitor, top panel, xfwm4, Escape",
            "scale 1, primary left, no top panel, no window manager, click elsewhere",
            "scale 1.5, primary left, no top panel, openbox, Escape",
            "scale 2, primary left, top panel, icewm, click elsewhere",
            "scale 1.5, primary left, composited, tint2, fluxbox, pointer gone",
            "scale 2, primary left, tint2, xfwm4, click elsewhere",
            "scale 1, primary right, composited, tint2, no window manager, pointer gone",
            "scale 1, primary right, top panel, openbox, pointer gone",
            "scale 1.5, primary right, tint2, icewm, Escape",
            "scale 2, primary right, no top panel, fluxbox, click elsewhere",
            "scale 2, primary right, composited, top panel, xfwm4, pointer gone",
            "scale 1.5, primary below, no top panel, no window manager, pointer gone",
            "scale 2, primary below, composited, tint2, openbox, pointer gone",
            "scale 2, primary below, composited, no top panel, icewm, Escape",
            "scale 1.5, primary below, composited, top panel, fluxbox, click elsewhere",
            "scale 1, primary below, no top panel, xfwm4, pointer gone",
        };
        using Monitors = DesktopKind::Monitors;
        using TopPanel = DesktopKind::TopPanel;
        using WindowManager = DesktopKind::WindowManager;
        const QHash<QString, Monitors> monitors{{u"one monitor"_s, Monitors::One},
                                                {u"primary left"_s, Monitors::PrimaryLeft},
                                                {u"primary right"_s, Monitors::PrimaryRight},
                                                {u"primary below"_s, Monitors::PrimaryBelow}};
        const QHash<QString, TopPanel> topPanels{
            {u"no top panel"_s, TopPanel::None}, {u"top panel"_s, TopPanel::Dock}, {u"tint2"_s, TopPanel::Tint2}};
        const QHash<QString, WindowManager> windowManagers{{u"no window manager"_s, WindowManager::None},
                                                           {u"openbox"_s, WindowManager::Openbox},
                                                           {u"icewm"_s, WindowManager::Icewm},
                                                           {u"fluxbox"_s, WindowManager::Fluxbox},
                                                           {u"xfwm4"_s, WindowManager::Xfwm4}};
        for (const char *row : rows) {
            const QStringList parts = QString::fromLatin1(row).split(u", "_s);
            const DesktopKind kind{parts[0].mid(6).toDouble(), monitors.value(parts[1]),
                                   parts.contains(u"composited"_s), topPanels.value(parts[parts.size() - 3]),
                                   windowManagers.value(parts[parts.size() - 2])};
            QTest::newRow(row) << kind << parts.last();
        }
    }

    void onEveryDesktop()
    {
        QFETCH(DesktopKind, kind);
        QFETCH(QString, closing);
        XDesktop desktop(kind);
        QVERIFY2(desktop.problem().isEmpty(), qPrintable(desktop.problem()));
        const bool topPanel = kind.topPanel != DesktopKind::TopPanel::None;
        const QRect monitor = desktop.primaryMonitor();
        const auto scaled = [&](int length) { return qRound(length * kind.scale); };
        // The program the user types into, below and left of the panel.
        const quint32 editor =
            desktop.createEditor(QRect(monitor.topLeft() + QPoint(scaled(40), scaled(600)), QSize(400, 200)));
        QVERIFY(editor && desktop.activate(editor));
        MarlowickProcess app(&desktop);
        QVERIFY2(app.startAndWaitUntilReady(), qPrintable(app.log()));

        // The strip lies at the top centre of the primary monitor, in the
        // server's pixels: on a bare edge a window one pixel high; over a top
        // panel nothing but a pointer barrier, the panel keeping its clicks.
        const QRect sensor(monitor.x() + monitor.width() / 2 - scaled(200) / 2, monitor.y(), scaled(200),
                           topPanel ? scaled(32) : 1);
        const QString expected =
            u"sensor %1x%2+%3+%4"_s.arg(sensor.width()).arg(sensor.height()).arg(sensor.x()).arg(sensor.y());
        QVERIFY2(app.logged(expected), qPrintable(app.log()));
        WAIT_FOR(desktop.windowRect(desktop.mappedWindow("Marlowick notch sensor")) == (topPanel ? QRect() : sensor));

        // A window of another program under the panel's left margin, which
        // the 340-pixel body leaves free.
        const QRect panel(monitor.x() + monitor.width() / 2 - scaled(380) / 2, monitor.y(), scaled(380), scaled(520));
        const QRect margin(panel.x(), panel.y() + scaled(100), scaled(15), scaled(100));
        const quint32 below = desktop.createPressRecorder(margin);
        QVERIFY(below);

        // On a bare edge the pointer rests there until the panel comes; over
        // a top panel it comes up through the panel and pushes on against
        // the top edge. The panel takes the keyboard.
        quint32 window = 0;
        const auto open = [&] {
            const bool moved = topPanel ? desktop.movePointer(sensor.center() + QPoint(0, sensor.height()))
                    && desktop.movePointerBy(0, -(sensor.height() / 2 + sensor.height()))
                    && desktop.movePointerBy(0, -40) && desktop.movePointerBy(0, -40)
                                        : desktop.movePointer(sensor.center());
            return moved && QTest::qWaitFor([&] { return (window = desktop.mappedWindow("Marlowick")) != 0; }, timeout);
        };
        // A click on the top panel's centre is the top panel's (tint2's
        // clock's).
        if (topPanel) {
            QVERIFY(desktop.movePointer(sensor.center()) && desktop.click());
            WAIT_FOR(desktop.topPanelClicks() == 1);
            QVERIFY(!desktop.mappedWindow("Marlowick"));
        }
        QVERIFY(open());
        QCOMPARE(desktop.windowRect(window), panel);
        WAIT_FOR(desktop.inputFocus() == window);
        // MARLOWICK_DESKTOP_SHOTS=folder: a picture of each desktop, panel open.
        if (const QString folder = qEnvironmentVariable("MARLOWICK_DESKTOP_SHOTS"); !folder.isEmpty()) {
            QTest::qWait(600); // the opening spring, for the picture only
            const QString name = QString::fromLatin1(QTest::currentDataTag()).replace(u", "_s, u"_"_s);
            desktop.run(u"import"_s, {u"-window"_s, u"root"_s, folder + u'/' + name + u".png"_s});
        }

        // The editor takes the keyboard back itself while the panel is open;
        // a click into the add field, once the body has sprung open that far,
        // gives it to the panel again; the keys come once the panel has it.
        QVERIFY(desktop.giveKeyboardTo(editor));
        const QPoint field(panel.width() / 2, scaled(185));
        WAIT_FOR(desktop.shape(window, XDesktop::Input).contains(field));
        QVERIFY(desktop.movePointer(panel.topLeft() + field) && desktop.click());
        WAIT_FOR(desktop.inputFocus() == window);
        QVERIFY(desktop.type(u"milk"_s) && desktop.keys("Return"));
        WAIT_FOR(app.storedTitles() == QStringList{u"milk"_s});
        // Without a compositing manager translucent pixels would show black:
        // then the window shows nothing but the body, the outline that takes
        // the input.
        const QRegion whole(QRect(QPoint(), panel.size()));
        WAIT_FOR(desktop.shape(window, XDesktop::Bounding)
                 == (kind.compositing ? whole : desktop.shape(window, XDesktop::Input)));

        // However the panel closes, the keyboard goes back to the editor: a
        // click elsewhere lands in a window no window manager focuses.
        const QRect elsewhere(monitor.topLeft() + QPoint(monitor.width() * 7 / 8, monitor.height() * 3 / 4),
                              QSize(scaled(20), scaled(20)));
        const quint32 other = desktop.createPressRecorder(elsewhere);
        QVERIFY(other);
        if (closing == u"Escape"_s)
            QVERIFY(desktop.keys("Escape"));
        else
            QVERIFY(desktop.movePointer(elsewhere.center()) && (closing != u"click elsewhere"_s || desktop.click()));
        WAIT_FOR(!desktop.mappedWindow("Marlowick"));
        QCOMPARE(desktop.inputFocus(), editor);
        QCOMPARE(desktop.pressesSeen(other), closing == u"click elsewhere"_s ? 1 : 0);

        // A press beside the body, in the still open panel (it closes half
        // a second after the pointer left), reaches the window below.
        QVERIFY(open());
        QVERIFY(desktop.movePointer(margin.center()));
        QVERIFY(desktop.mappedWindow("Marlowick"));
        QVERIFY(desktop.click());
        WAIT_FOR(desktop.pressesSeen(below) == 1);
        WAIT_FOR(!desktop.mappedWindow("Marlowick"));
        QCOMPARE(desktop.inputFocus(), editor);
    }

    // The bare top edge does nothing for a drag that ends there, a slide
    // along it, or while a fullscreen window is active; the commands still
    // open the panel.
    void theEdgeStaysShutWhileSomethingElseHasTheUser()
    {
        XDesktop desktop(DesktopKind{1, DesktopKind::Monitors::One, false, DesktopKind::TopPanel::None,
                                     DesktopKind::WindowManager::Openbox});
        QVERIFY2(desktop.problem().isEmpty(), qPrintable(desktop.problem()));
        const quint32 source = desktop.createPressRecorder(QRect(900, 500, 100, 100));
        MarlowickProcess app(&desktop);
        QVERIFY2(app.startAndWaitUntilReady(), qPrintable(app.log()));
        const auto staysShut = [&] {
            QTest::qWait(600); // four times the rest that opens it
            return desktop.mappedWindow("Marlowick") == 0;
        };

        // Something dragged from a window to the top centre and let go there.
        QVERIFY(desktop.movePointer(QPoint(950, 550)) && desktop.pressButton(true));
        QVERIFY(desktop.movePointer(QPoint(960, 200)) && desktop.movePointer(QPoint(960, 0)));
        QVERIFY(desktop.pressButton(false));
        QVERIFY(staysShut());
        // Along the edge at 500 pixels a second, through the strip.
        QVERIFY(desktop.movePointer(QPoint(700, 300)));
        QByteArrayList slide;
        for (int x = 700; x <= 1200; x += 10)
            slide += QByteArrayList{"mousemove", QByteArray::number(x), "0", "sleep", "0.02"};
        QVERIFY(desktop.xdotoolScript(slide));
        QVERIFY(staysShut());

        // A video played fullscreen: neither a rest nor a click opens it.
        const quint32 video = desktop.createEditor(QRect(100, 100, 640, 360));
        QVERIFY(video && desktop.activate(video) && desktop.setFullscreen(video));
        QVERIFY(desktop.movePointer(QPoint(960, 300)) && desktop.movePointer(QPoint(960, 0)));
        QVERIFY(staysShut());
        QVERIFY(desktop.click() && staysShut());
        QCOMPARE(app.run({u"show"_s}).exitCode, 0);
        WAIT_FOR(desktop.mappedWindow("Marlowick"));
        QCOMPARE(desktop.pressesSeen(source), 1); // the drag's
    }

    // Below another monitor the primary's top edge is a line across the
    // desktop: a pointer barrier holds the pointer pushed up against it at
    // the centre, the push opens the panel, and a further push goes through.
    void aPushUpAtTheTopCentreOfALowerPrimaryOpensThePanel()
    {
        XDesktop desktop(DesktopKind{1, DesktopKind::Monitors::PrimaryBelow, false, DesktopKind::TopPanel::None,
                                     DesktopKind::WindowManager::None});
        QVERIFY2(desktop.problem().isEmpty(), qPrintable(desktop.problem()));
        MarlowickProcess app(&desktop);
        QVERIFY2(app.startAndWaitUntilReady(), qPrintable(app.log()));
        const int top = desktop.primaryMonitor().y();
        QVERIFY(desktop.movePointer(QPoint(960, top + 300)) && desktop.movePointerBy(0, -300));
        QCOMPARE(desktop.pointer(), QPoint(960, top));
        QVERIFY(desktop.movePointerBy(0, -40) && desktop.movePointerBy(0, -40));
        WAIT_FOR(desktop.mappedWindow("Marlowick"));
        QCOMPARE(desktop.pointer(), QPoint(960, top));
        for (int push = 0; push < 5 && desktop.pointer().y() >= top; ++push)
            QVERIFY(desktop.movePointerBy(0, -40));
        QVERIFY2(desktop.pointer().y() < top, "held for good");
    }

    void followsEveryChangeOfTheDesktop()
    {
        XDesktop desktop(DesktopKind{2, DesktopKind::Monitors::PrimaryLeft, false, DesktopKind::TopPanel::None,
                                     DesktopKind::WindowManager::None});
        QVERIFY2(desktop.problem().isEmpty(), qPrintable(desktop.problem()));
        MarlowickProcess app(&desktop);
        QVERIFY2(app.startAndWaitUntilReady(), qPrintable(app.log()));
        QVERIFY2(app.logged(u"ready: sensor 400x1+1720+0 (screen edge)"_s), qPrintable(app.log()));

        const auto sensorBecomes = [&](const QString &expected) {
            return QTest::qWaitFor([&] { return app.log().endsWith(u"screens changed: sensor "_s + expected + u'\n'); },
                                   timeout);
        };
        QVERIFY(desktop.setTopPanel(true));
        QVERIFY2(sensorBecomes(u"400x64+1720+0"_s), qPrintable(app.log()));
        // The right monitor (3200 pixels wide, from x = 3840) has no panel.
        QVERIFY(desktop.swapPrimaryMonitor());
        QVERIFY2(sensorBecomes(u"400x1+5240+0 (screen edge)"_s), qPrintable(app.log()));
        QTRY_COMPARE_WITH_TIMEOUT(desktop.windowRect(desktop.mappedWindow("Marlowick notch sensor")),
                                  QRect(5240, 0, 400, 1), timeout);
        QVERIFY(desktop.swapPrimaryMonitor());
        QVERIFY2(sensorBecomes(u"400x64+1720+0"_s), qPrintable(app.log()));
        QVERIFY(desktop.setTopPanel(false));
        QVERIFY2(sensorBecomes(u"400x1+1720+0 (screen edge)"_s), qPrintable(app.log()));
        // A new Xft.dpi from xrdb, as from a desktop's settings.
        QVERIFY(desktop.run(u"xrdb"_s, {u"-merge"_s}, "Xft.dpi: 96\n"));
        QVERIFY2(sensorBecomes(u"200x1+1820+0 (screen edge)"_s), qPrintable(app.log()));
        QVERIFY(desktop.run(u"xrdb"_s, {u"-merge"_s}, "Xft.dpi: 144\n"));
        QVERIFY2(sensorBecomes(u"300x1+1770+0 (screen edge)"_s), qPrintable(app.log()));
    }

private:
    int m_failedDesktops = 0;
};

QTEST_MAIN(DesktopMatrixX11Test)
#include "desktop_matrix_x11_test.moc"
