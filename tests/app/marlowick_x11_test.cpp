// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Marlowick developers

// The real marlowick program as a user meets it, each case on a desktop of
// its own: one 1920 x 1080 monitor, a 32-pixel top panel, a compositing
// manager, no window manager and no tray unless the case makes one.
#include "support/x11/marlowick_process.h"
#include "support/x11/x_desktop.h"

#include <QDir>
#include <QImage>
#include <QTest>

using namespace Qt::StringLiterals;

static constexpr int timeout = 20000;
static constexpr QPoint strip(960, 10);
static constexpr QPoint away(100, 700);

class MarlowickX11Test : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init()
    {
        m_app.reset(); // the last case's, before its desktop
        m_desktop = std::make_unique<XDesktop>(DesktopKind{
            1, DesktopKind::Monitors::One, true, DesktopKind::TopPanel::Dock, DesktopKind::WindowManager::None});
        QVERIFY2(m_desktop->problem().isEmpty(), qPrintable(m_desktop->problem()));
        m_app = std::make_unique<MarlowickProcess>(m_desktop.get());
    }

    void theStoredListIsLoadedAndOutlivesSigtermSighupAndACrash()
    {
        const QList<TodoItem> items{{QUuid::createUuid(), u"Water the ferns"_s, false, 786243600, 786240000},
                                    {QUuid::createUuid(), u"Call the plumber"_s, true, 786330000, 786326400}};
        QVERIFY(m_app->store(items));
        QVERIFY2(m_app->startAndWaitUntilReady(), qPrintable(m_app->log()));
        QVERIFY2(m_app->logged(u"loaded 2 to-dos"_s), qPrintable(m_app->log()));
        QVERIFY2(m_app->logged(u"ready: sensor 200x32+860+0"_s), qPrintable(m_app->log()));
        QCOMPARE(m_app->log().count(u"no system tray"_s), 1); // said once

        QVERIFY(m_app->stop(SIGTERM));
        QCOMPARE(m_app->storedItems(), items);
        QVERIFY(m_app->startAndWaitUntilReady());
        QVERIFY(m_app->stop(SIGHUP));
        QCOMPARE(m_app->storedItems(), items);
        // A crash leaves the writer lock behind: the next start takes it over.
        QVERIFY(m_app->startAndWaitUntilReady());
        QVERIFY(!m_app->stop(SIGKILL));
        QVERIFY(m_app->startAndWaitUntilReady());
        QVERIFY2(m_app->run({}).err.contains(u"already running"_s), qPrintable(m_app->log()));
    }

    void aListThatCannotBeSavedIsKeptInARecoveryFileAtQuit()
    {
        // A file where the settings folder should be: nothing can be saved.
        QFile blocker(QFileInfo(m_app->settingsFile()).absolutePath());
        QVERIFY(blocker.open(QIODevice::WriteOnly));
        blocker.close();
        QVERIFY(m_app->startAndWaitUntilReady());
        QVERIFY(openPanel());
        QVERIFY(addThroughField(185, u"Buy stamps"_s, [&] { return m_app->logged(u"Could not save"_s); }));

        QVERIFY(m_app->stop(SIGTERM));
        const QFileInfoList kept = QDir(m_app->stateFolder() + u"/marlowick"_s).entryInfoList(QDir::Files);
        QCOMPARE(kept.size(), 1);
        QVERIFY2(m_app->logged(kept.first().filePath()), qPrintable(m_app->log()));
        QCOMPARE(MarlowickProcess::storedItems(kept.first().filePath()).value(0).title, u"Buy stamps"_s);
    }

    void toDosAreAddedWithTheKeyboardAndCompletedWithTheMouse()
    {
        QVERIFY(m_app->startAndWaitUntilReady());
        QVERIFY(openPanel());
        // The day's first to-do takes the placeholder's place: the body
        // shrinks, and so does where the panel takes presses; the pointer
        // resting on the add field is now below it.
        const quint32 panel = m_desktop->mappedWindow("Marlowick");
        QTRY_VERIFY_WITH_TIMEOUT(m_desktop->shape(panel, XDesktop::Input).boundingRect().height() > 185, timeout);
        QVERIFY(addThroughField(185, u"Buy stamps"_s));
        QTRY_VERIFY_WITH_TIMEOUT(m_desktop->shape(panel, XDesktop::Input).boundingRect().height() < 185, timeout);
        QTest::qWait(1200); // longer than the close delay: nothing may happen while the pointer rests
        QVERIFY(panelOpen());
        QVERIFY(m_desktop->type(u"Post the letter"_s) && m_desktop->keys("Return"));
        QTRY_COMPARE_WITH_TIMEOUT(m_app->storedTitles(), (QStringList{u"Post the letter"_s, u"Buy stamps"_s}), timeout);

        // A click on the first row's title completes it.
        QVERIFY(m_desktop->movePointer(QPoint(880, 86)) && m_desktop->click());
        QTRY_VERIFY_WITH_TIMEOUT(m_app->storedItems().value(0).isCompleted, timeout);
        // A button pressed in the panel and held keeps it open however far
        // the pointer goes; after the release it closes as usual.
        QVERIFY(m_desktop->movePointer(QPoint(960, 45)) && m_desktop->pressButton(true));
        QVERIFY(m_desktop->movePointer(away));
        QTest::qWait(1200); // longer than the close delay
        QVERIFY(panelOpen());
        QVERIFY(m_desktop->pressButton(false));
        QTRY_VERIFY_WITH_TIMEOUT(!panelOpen(), timeout);
    }

    void thePanelOpensFromTheStripTakesTheKeyboardAndCtrlQQuits_data()
    {
        QTest::addColumn<QString>("rhiBackend");
        QTest::newRow("software renderer (default)") << QString();
        QTest::newRow("OpenGL") << u"opengl"_s;
    }

    void thePanelOpensFromTheStripTakesTheKeyboardAndCtrlQQuits()
    {
        QFETCH(QString, rhiBackend);
        if (!rhiBackend.isEmpty())
            m_app->environment.insert(u"QSG_RHI_BACKEND"_s, rhiBackend);
        const quint32 other = m_desktop->createPressRecorder(QRect(0, 900, 50, 50));
        QVERIFY(m_desktop->giveKeyboardTo(other));
        QVERIFY(m_app->startAndWaitUntilReady());
        QVERIFY(!panelOpen());

        QVERIFY(openPanel());
        const quint32 panel = m_desktop->mappedWindow("Marlowick");
        QCOMPARE(m_desktop->windowRect(panel), QRect(770, 0, 380, 520));
        QTRY_VERIFY_WITH_TIMEOUT(showsDayLabel(), timeout);
        // Only a program drawing with OpenGL loads Qt's plugin that joins it to X11.
        QFile maps(u"/proc/%1/maps"_s.arg(m_app->pid()));
        QVERIFY(maps.open(QIODevice::ReadOnly));
        QCOMPARE(maps.readAll().contains("-integration.so"), !rhiBackend.isEmpty());
        QVERIFY(m_desktop->movePointer(QPoint(960, 300)));
        QTRY_COMPARE_WITH_TIMEOUT(m_desktop->inputFocus(), panel, timeout);
        QVERIFY(m_desktop->keys("ctrl+q"));
        QVERIFY(m_app->exitsCleanly());
        QCOMPARE(m_desktop->inputFocus(), other); // given back, not fallen to the root
    }

    void aSecondStartOrACommandOpensTheFirstsPanelAndAClickElsewhereClosesIt()
    {
        // Another program's window, where the pointer rests and clicks.
        const quint32 other = m_desktop->createPressRecorder(QRect(100, 600, 300, 100));
        QVERIFY(m_desktop->giveKeyboardTo(other));
        QVERIFY(m_desktop->movePointer(QPoint(250, 620)));
        QVERIFY(m_app->startAndWaitUntilReady());
        QVERIFY(!panelOpen());

        const MarlowickProcess::Output second = m_app->run({});
        QCOMPARE(second.exitCode, 0);
        QVERIFY2(second.err.contains(u"already running"_s), qPrintable(second.err));
        QTRY_VERIFY_WITH_TIMEOUT(panelOpen(), timeout);

        // Started from another session (another runtime folder), it reaches
        // the first one all the same, through the list's writer lock.
        QTemporaryDir otherRuntime;
        const MarlowickProcess::Output elsewhere = m_app->run({}, otherRuntime.path());
        QCOMPARE(elsewhere.exitCode, 0);
        QVERIFY2(elsewhere.err.contains(u"already running"_s), qPrintable(elsewhere.err));

        QVERIFY(m_desktop->click());
        QTRY_COMPARE_WITH_TIMEOUT(m_desktop->pressesSeen(other), 1, timeout);
        QTRY_VERIFY_WITH_TIMEOUT(!panelOpen(), timeout);
        QCOMPARE(m_desktop->inputFocus(), other);

        // A command opens it with the keyboard in the add field; it stays
        // open though the pointer never comes.
        QCOMPARE(m_app->run({u"show"_s, u"--add"_s}).exitCode, 0);
        QTRY_VERIFY_WITH_TIMEOUT(panelOpen(), timeout);
        QTRY_COMPARE_WITH_TIMEOUT(m_desktop->inputFocus(), m_desktop->mappedWindow("Marlowick"), timeout);
        QVERIFY(m_desktop->type(u"Buy milk"_s) && m_desktop->keys("Return"));
        QTRY_COMPARE_WITH_TIMEOUT(m_app->storedTitles(), QStringList{u"Buy milk"_s}, timeout);
        QTest::qWait(1200); // longer than the close delay: nothing may happen
        QVERIFY(panelOpen());
        // A wheel step or a middle click elsewhere is no press: the panel
        // stays for a toggle to close.
        QVERIFY(m_desktop->click(4) && m_desktop->click(2));
        QCOMPARE(m_app->run({u"toggle"_s}).exitCode, 0);
        QTRY_VERIFY_WITH_TIMEOUT(!panelOpen(), timeout);
        QCOMPARE(m_desktop->inputFocus(), other);
        // A right click elsewhere closes it as a left one does.
        QCOMPARE(m_app->run({u"show"_s}).exitCode, 0);
        QTRY_VERIFY_WITH_TIMEOUT(panelOpen(), timeout);
        QVERIFY(m_desktop->click(3));
        QTRY_VERIFY_WITH_TIMEOUT(!panelOpen(), timeout);
    }

    void theTrayItemTogglesThePanelAndItsMenuQuits()
    {
        QVERIFY(m_desktop->startTray());
        const quint32 other = m_desktop->createPressRecorder(QRect(0, 900, 50, 50));
        QVERIFY(m_desktop->giveKeyboardTo(other));
        QVERIFY(m_app->startAndWaitUntilReady());
        QTRY_COMPARE_WITH_TIMEOUT(m_desktop->trayIcons().size(), 1, timeout);
        const QPoint icon = m_desktop->trayIcons().first();
        QVERIFY(m_desktop->movePointer(icon) && m_desktop->click());
        QTRY_VERIFY_WITH_TIMEOUT(panelOpen(), timeout);
        // The press of the next click closes the open panel; the click must
        // not open it again.
        QVERIFY(m_desktop->click());
        QTRY_VERIFY_WITH_TIMEOUT(!panelOpen(), timeout);
        QCOMPARE(m_desktop->inputFocus(), other);

        // The right button opens the menu, also while the panel is open
        // (from the strip here), which closes on that press. The menu keeps
        // the keyboard when the panel goes; its one entry quits.
        const QList<quint32> windowsBefore = m_desktop->mappedWindows({}, m_app->pid());
        QVERIFY(openPanel());
        QVERIFY(m_desktop->movePointer(icon) && m_desktop->click(3));
        QTRY_VERIFY_WITH_TIMEOUT(!panelOpen(), timeout);
        const auto menuHasTheKeyboard = [&] {
            const quint32 focus = m_desktop->inputFocus();
            return m_desktop->mappedWindows({}, m_app->pid()).contains(focus) && !windowsBefore.contains(focus);
        };
        QTRY_VERIFY_WITH_TIMEOUT(menuHasTheKeyboard(), timeout);
        QVERIFY(m_desktop->keys("Down Return"));
        QVERIFY(m_app->exitsCleanly());
        QCOMPARE(m_desktop->inputFocus(), other); // from the menu, where the panel had it from
    }

private:
    bool panelOpen() const { return m_desktop->mappedWindow("Marlowick") != 0; }

    // Up through the top panel and on against the top edge.
    bool openPanel()
    {
        return m_desktop->movePointer(strip + QPoint(0, 40)) && m_desktop->movePointerBy(0, -60)
            && m_desktop->movePointerBy(0, -40) && m_desktop->movePointerBy(0, -40)
            && QTest::qWaitFor([&] { return panelOpen(); }, timeout);
    }

    // Types the title into the add field at height y, with Return, until it
    // is added (by default: stored): a click while the panel still springs
    // open can miss the field (a hit shows well within the wait).
    bool addThroughField(int y, const QString &title, std::function<bool()> added = {})
    {
        if (!added)
            added = [&] { return m_app->storedTitles().contains(title); };
        for (int attempt = 0; attempt < 5; ++attempt) {
            if (!m_desktop->movePointer(QPoint(940, y)) || !m_desktop->click() || !m_desktop->type(title)
                || !m_desktop->keys("Return"))
                return false;
            if (QTest::qWaitFor(added, 3000))
                return true;
        }
        return false;
    }

    // Whether the screen shows white text where the open panel's day label is.
    bool showsDayLabel() const
    {
        QTemporaryDir folder;
        const QString file = folder.filePath(u"header.png"_s);
        if (!m_desktop->run(u"import"_s, {u"-window"_s, u"root"_s, u"-crop"_s, u"160x20+880+33"_s, u"+repage"_s, file}))
            return false;
        const QImage image = QImage(file).convertToFormat(QImage::Format_Grayscale8); // 160 bytes a line
        return std::any_of(image.constBits(), image.constBits() + image.sizeInBytes(),
                           [](uchar gray) { return gray > 200; });
    }

    std::unique_ptr<XDesktop> m_desktop;
    std::unique_ptr<MarlowickProcess> m_app;
};

QTEST_MAIN(MarlowickX11Test)
#include "marlowick_x11_test.moc"
