// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Marlowick developers

#include "notch/dropdown_panel_controller.h"
#include "notch/notch_animation_state.h"
#include "notch/notch_sensor_window.h"

#include "support/platform/fake_panel_window.h"
#include "support/platform/fake_pointer_locator.h"
#include "support/platform/fake_press_monitors.h"
#include "support/platform/manual_clock_scheduler.h"

#include <QCoreApplication>
#include <QTest>
#include <QWindow>

using namespace Qt::StringLiterals;

namespace {

// The strip of a 1920 x 1080 screen with a 32-pixel top panel: the panel's
// frame is (770, 0, 380, 520).
NotchGeometry stripGeometry(qreal centreX = 960, bool screenEdge = false)
{
    NotchGeometry g;
    g.sensorRect = QRectF(centreX - 100, 0, 200, 32);
    g.panelTopCenter = QPointF(centreX, 32);
    g.notchWidth = 200;
    g.sensorIsScreenEdge = screenEdge;
    return g;
}

struct Rig {
    ManualClockScheduler clock;
    FakePressMonitors monitors;
    FakePointerLocator pointer;
    FakePanelWindow *panel = new FakePanelWindow;
    QWindow panelWindow;
    QWindow otherWindow;
    // Reports nothing by itself without X11; the script emits its signals.
    NotchSensorWindow sensor{QRect()};
    std::unique_ptr<DropdownPanelController> controller;

    Rig()
    {
        panel->window = &panelWindow;
        controller =
            std::make_unique<DropdownPanelController>(stripGeometry(), std::unique_ptr<PanelWindow>(panel),
                                                      DropdownPanelController::Services{&clock, &monitors, &pointer});
        controller->connectSensor(&sensor);
    }

    // "open", "closing" (the view animates closed, the window stays) or "hidden".
    QString state() const
    {
        const bool open = controller->isOpen() && controller->animationState()->isOpen();
        const qsizetype monitorCount = monitors.global.size() + monitors.local.size();
        if (open && panel->shown && monitorCount == 2)
            return u"open"_s;
        if (!open && !controller->animationState()->isOpen() && monitorCount == 0)
            return panel->shown ? u"closing"_s : u"hidden"_s;
        return u"inconsistent"_s;
    }
    int count(const QString &what) const
    {
        if (what == u"pending"_s)
            return int(clock.pendingCount());
        if (what == u"global"_s || what == u"local"_s)
            return int(what == u"global"_s ? monitors.global.size() : monitors.local.size());
        const QHash<QString, int> ofController{
            {u"opened"_s, controller->isOpen()},
            {u"hides"_s, panel->hideCount},
            {u"shows"_s, panel->showCount},
            {u"activations"_s, panel->activationRequests},
            {u"givenBack"_s, panel->keyboardReleases},
            {u"frames"_s, int(panel->framesSet.size())},
            {u"frameX"_s, qRound(panel->currentFrame.x())},
        };
        return ofController.value(what, -1);
    }

    // Runs one step of a script (see the test's data).
    void step(const QString &token)
    {
        // The root view reports hover; the controller hears of it one turn later.
        const auto hover = [this](bool in, bool heard) {
            controller->animationState()->setMouseInPanel(in);
            if (heard)
                QCoreApplication::sendPostedEvents();
        };
        const QHash<QString, std::function<void()>> steps{
            {u"enter"_s, [this] { Q_EMIT sensor.entered(); }},
            {u"leave"_s, [this] { Q_EMIT sensor.exited(); }},
            {u"press"_s, [this] { Q_EMIT sensor.pressed(); }},
            {u"slide"_s, [this] { Q_EMIT sensor.moved(); }},
            {u"in"_s, [&] { hover(true, true); }},
            {u"out"_s, [&] { hover(false, true); }},
            {u"in!"_s, [&] { hover(true, false); }},
            {u"post"_s, [] { QCoreApplication::sendPostedEvents(); }},
            {u"key"_s, [this] { panel->keyPressHandler(); }},
            {u"hold"_s, [this] { panel->buttonHeld = true; }},
            {u"release"_s,
             [this] {
                 panel->buttonHeld = false;
                 panel->buttonReleaseHandler();
             }},
            {u"local"_s, [this] { monitors.pressLocally(&panelWindow); }},
            {u"other"_s, [this] { monitors.pressLocally(&otherWindow); }},
            {u"nowindow"_s, [this] { monitors.pressLocally(nullptr); }},
            {u"show"_s, [this] { controller->showPanel(); }},
            {u"hide"_s, [this] { controller->hidePanel(); }},
            {u"edge"_s, [this] { controller->setGeometry(stripGeometry(960, true)); }},
            {u"moved"_s, [this] { controller->setGeometry(stripGeometry(2880)); }},
            {u"noglobal"_s, [this] { monitors.globalAvailable = false; }},
            {u"destroyed"_s, [this] { controller.reset(); }},
        };
        if (token.startsWith(u'+')) {
            clock.advance(std::chrono::milliseconds(token.mid(1).toInt()));
        } else if (token.startsWith(u"global@"_s)) {
            pointer.at =
                QPointF(token.section(u'@', 1).section(u',', 0, 0).toDouble(), token.section(u',', 1).toDouble());
            monitors.pressGlobally();
        } else {
            QVERIFY2(steps.contains(token), qPrintable(token));
            steps[token]();
        }
    }
};

} // namespace

class DropdownPanelControllerTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    // Steps: sensor enter, leave, press and slide (motion inside); hover in and out of the body (in!:
    // the flag set, its notice not yet handled); key; hold and release (a
    // button pressed in the panel); +N ms; presses global@X,Y
    // (another program), local (the panel), other (another window of ours),
    // nowindow; show, hide; edge (the strip is the bare screen edge), moved
    // (the screen changed); noglobal (no global monitor); destroyed.
    // Checks: =state, #count=N.
    void followsItsEventScripts_data()
    {
        QTest::addColumn<QString>("script");
        QTest::newRow("idle while hidden") << u"=hidden #pending=0 in out #pending=0"_s;
        QTest::newRow("entry opens at once, leaving closes in two steps")
            << u"enter =open #frameX=770 #activations=1 leave +499 =open #givenBack=0 +1 =closing #givenBack=1 +449 "
               "=closing +1 =hidden #hides=1 #frames=2 #pending=0 #givenBack=1"_s;
        QTest::newRow("down from the notch into the body") << u"enter leave +200 in +2000 =open"_s;
        QTest::newRow("out of the body and back") << u"enter in out +300 in +2000 =open"_s;
        QTest::newRow("the flag read when the timer fires") << u"enter in out +499 in! +1 =open post"_s;
        QTest::newRow("leaving the notch over the body") << u"enter in leave +2000 =open out +500 =closing"_s;
        QTest::newRow("a held button keeps it, its release outside closes")
            << u"enter in hold out +2000 =open release +499 =open +1 =closing"_s;
        QTest::newRow("released inside, or before the delay ran out")
            << u"enter in hold release +2000 =open hold out +200 release +299 =open +1 =closing"_s;
        QTest::newRow("typing postpones closing") << u"enter in key #pending=1 out +400 key +499 =open +1 =closing"_s;
        QTest::newRow("closed under the pointer, opened again") << u"enter in hide +450 show leave +500 =closing"_s;
        QTest::newRow("re-entered while closing") << u"enter leave +800 =closing enter =open +2000 =open #hides=0"_s;
        QTest::newRow("passing over the bare edge") << u"edge enter +149 leave +2000 =hidden #pending=0"_s;
        QTest::newRow("resting on the bare edge") << u"edge enter +150 =open leave +500 =closing"_s;
        QTest::newRow("sliding along the bare edge, then resting")
            << u"edge enter +100 slide +100 slide +149 =hidden +1 =open slide +2000 =open"_s;
        QTest::newRow("a press on the edge does not wait") << u"edge enter press =open press +150 =closing"_s;
        QTest::newRow("press inside") << u"enter global@960,300 =open"_s;
        QTest::newRow("press on the transparent lower part") << u"enter global@771,519 =open"_s;
        QTest::newRow("press on the left column") << u"enter global@770,100 =open"_s;
        QTest::newRow("press on the top row") << u"enter global@1000,0 =open"_s;
        QTest::newRow("press on the right edge") << u"enter global@1150,100 =closing"_s;
        QTest::newRow("press on the row below") << u"enter global@960,520 =closing"_s;
        QTest::newRow("press left of it") << u"enter global@769.5,100 =closing"_s;
        QTest::newRow("press far away") << u"enter global@100,900 =closing"_s;
        QTest::newRow("a press on the panel takes the focus back") << u"enter local =open #activations=2"_s;
        QTest::newRow("presses in our other windows")
            << u"enter other =closing #givenBack=1 show nowindow =closing #givenBack=2"_s;
        // Closed by the press first, then opened again by the sensor's toggle.
        QTest::newRow("a press on the notch while open") << u"show other press =open +2000 #hides=0 press =closing"_s;
        QTest::newRow("no global monitor") << u"noglobal enter #opened=1 #local=1 hide #local=0 #opened=0"_s;
        QTest::newRow("show again cancels only the hide timer")
            << u"show leave show #shows=1 #activations=1 #frames=1 #global=1 +2000 =open"_s;
        // A window left up with its view closed would swallow presses.
        QTest::newRow("hide again still takes the window away")
            << u"show +2000 hide leave hide #pending=1 +450 =hidden hide =hidden #hides=1 #pending=0"_s;
        QTest::newRow("re-framed once even after a quick close")
            << u"show +100 hide moved +300 #frames=2 #frameX=2690 +150 =hidden #frames=2"_s;
        QTest::newRow("delayed work dies with the controller")
            << u"show leave destroyed #global=0 #local=0 +2000 #pending=0"_s;
    }

    void followsItsEventScripts()
    {
        QFETCH(QString, script);
        Rig rig;
        QCOMPARE(rig.panel->hostCount, 1);
        QCOMPARE(rig.panel->hostedSetup.animationState, rig.controller->animationState());
        for (const QString &token : script.split(u' ')) {
            if (token.startsWith(u'='))
                QVERIFY2(rig.state() == token.mid(1), qPrintable(token + u" but "_s + rig.state()));
            else if (token.startsWith(u'#'))
                QVERIFY2(rig.count(token.section(u'=', 0, 0).mid(1)) == token.section(u'=', 1).toInt(),
                         qPrintable(token + u" but "_s + QString::number(rig.count(token.section(u'=', 0, 0).mid(1)))));
            else
                rig.step(token);
        }
        // The root view keeps the width it was built with.
        QCOMPARE(rig.panel->hostedSetup.notchWidth, 200.0);
    }
};

QTEST_MAIN(DropdownPanelControllerTest)
#include "dropdown_panel_controller_test.moc"
