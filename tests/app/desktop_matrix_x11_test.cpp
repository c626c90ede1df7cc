// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Marlowick developers

// The real marlowick program on the desktops people run: every combination
// of scale, monitors, compositing manager, top panel and window manager, one
// private X server and one start of the program per combination.
#include "marlowick_process.h"
#include "x_desktop.h"

#include <QTest>

using namespace Qt::StringLiterals;

Q_DECLARE_METATYPE(DesktopKind)

static constexpr int timeout = 20000;

class DesktopMatrixX11Test : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void onEveryDesktop_data()
    {
        QTest::addColumn<DesktopKind>("kind");
        const char *monitorNames[] = {"one monitor", "primary left", "primary right"};
        for (qreal scale : {1.0, 2.0, 1.5}) {
            for (int monitors = 0; monitors < 3; ++monitors) {
                for (int flags = 0; flags < 8; ++flags) {
                    const DesktopKind kind{scale, DesktopKind::Monitors(monitors), bool(flags & 4), !(flags & 2),
                                           bool(flags & 1)};
                    const QByteArray name = "scale " + QByteArray::number(scale) + ", " + monitorNames[monitors]
                        + (kind.compositing ? ", composited" : "") + (kind.topPanel ? ", top panel" : ", no top panel")
                        + (kind.windowManager ? ", openbox" : "");
                    QTest::newRow(name.constData()) << kind;
                }
            }
        }
    }

    void onEveryDesktop()
    {
        QFETCH(DesktopKind, kind);
        XDesktop desktop(kind);
        QVERIFY2(desktop.problem().isEmpty(), qPrintable(desktop.problem()));
        MarlowickProcess app(&desktop);
        QVERIFY2(app.startAndWaitUntilReady(), qPrintable(app.log()));

        // The strip lies at the top centre of the primary monitor, in the
        // server's pixels; on a bare edge it is one pixel high.
        const QRect monitor = desktop.primaryMonitor();
        const auto scaled = [&](int length) { return qRound(length * kind.scale); };
        const QRect sensor(monitor.x() + monitor.width() / 2 - scaled(200) / 2, monitor.y(), scaled(200),
                           kind.topPanel ? scaled(32) : 1);
        QTRY_COMPARE_WITH_TIMEOUT(desktop.windowRect(desktop.mappedWindow("Marlowick notch sensor")), sensor, timeout);

        // A window of another program under the panel's left margin, which
        // the 340-pixel body leaves free.
        const QRect panel(monitor.x() + monitor.width() / 2 - scaled(380) / 2, monitor.y(), scaled(380), scaled(520));
        const QRect margin(panel.x(), panel.y() + scaled(100), scaled(15), scaled(100));
        const quint32 below = desktop.createPressRecorder(margin);
        QVERIFY(below);

        // On a bare edge the pointer rests there until the panel comes.
        QVERIFY(desktop.movePointer(sensor.center()));
        quint32 window = 0;
        QTRY_VERIFY_WITH_TIMEOUT((window = desktop.mappedWindow("Marlowick")) != 0, timeout);
        QCOMPARE(desktop.windowRect(window), panel);
        // MARLOWICK_DESKTOP_SHOTS=folder: a picture of each desktop, panel open.
        if (const QString folder = qEnvironmentVariable("MARLOWICK_DESKTOP_SHOTS"); !folder.isEmpty()) {
            QTest::qWait(600); // the opening spring, for the picture only
            const QString name = QString::fromLatin1(QTest::currentDataTag()).replace(u", "_s, u"_"_s);
            desktop.run(u"import"_s, {u"-window"_s, u"root"_s, folder + u'/' + name + u".png"_s});
        }

        // Another program takes the keyboard while the panel is open; a
        // click into the add field, once the body has sprung open that far,
        // gives it back; the keys come once the panel has it.
        QVERIFY(desktop.giveKeyboardTo(below));
        const QPoint field(panel.width() / 2, scaled(185));
        QTRY_VERIFY_WITH_TIMEOUT(desktop.shape(window, XDesktop::Input).contains(field), timeout);
        QVERIFY(desktop.movePointer(panel.topLeft() + field) && desktop.click());
        QTRY_COMPARE_WITH_TIMEOUT(desktop.inputFocus(), window, timeout);
        QVERIFY(desktop.type(u"milk"_s) && desktop.keys("Return"));
        QTRY_COMPARE_WITH_TIMEOUT(app.storedTitles(), QStringList{u"milk"_s}, timeout);
        // Without a compositing manager translucent pixels would show black:
        // then the window shows nothing but the body, the outline that takes
        // the input.
        const QRegion whole(QRect(QPoint(), panel.size()));
        QTRY_COMPARE_WITH_TIMEOUT(desktop.shape(window, XDesktop::Bounding),
                                  kind.compositing ? whole : desktop.shape(window, XDesktop::Input), timeout);

        // A press beside the body, in the still open panel (it closes half
        // a second after the pointer left), reaches the window below.
        QVERIFY(desktop.movePointer(margin.center()));
        QVERIFY(desktop.mappedWindow("Marlowick"));
        QVERIFY(desktop.click());
        QTRY_COMPARE_WITH_TIMEOUT(desktop.pressesSeen(below), 1, timeout);
    }

    void followsEveryChangeOfTheDesktop()
    {
        XDesktop desktop(DesktopKind{2, DesktopKind::Monitors::PrimaryLeft, false, false, false});
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
    }
};

QTEST_MAIN(DesktopMatrixX11Test)
#include "desktop_matrix_x11_test.moc"
