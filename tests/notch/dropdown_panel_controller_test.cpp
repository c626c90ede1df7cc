#include "notch/dropdown_panel_controller.h"
#include "notch/notch_animation_state.h"
#include "notch/notch_sensor_window.h"

#include "fake_panel_window.h"
#include "fake_pointer_locator.h"
#include "fake_press_monitors.h"
#include "manual_clock_scheduler.h"

#include <QCoreApplication>
#include <QTest>
#include <QWindow>

using namespace std::chrono_literals;

namespace {

// The strip of a 1920 x 1080 screen with a 32-pixel top panel: the panel's
// frame is (770, 0, 380, 520).
NotchGeometry stripGeometry(qreal centreX = 960)
{
    NotchGeometry g;
    g.sensorRect = QRectF(centreX - 100, 0, 200, 32);
    g.panelTopCenter = QPointF(centreX, 32);
    g.notchWidth = 200;
    return g;
}

struct Rig
{
    ManualClockScheduler clock;
    FakePressMonitors monitors;
    FakePointerLocator pointer;
    FakePanelWindow *panel = new FakePanelWindow;
    QWindow panelWindow;
    // Reports nothing by itself without X11; the rig emits its signals.
    NotchSensorWindow sensor{QRect()};
    std::unique_ptr<DropdownPanelController> controller;

    Rig()
    {
        panel->window = &panelWindow;
        controller = std::make_unique<DropdownPanelController>(
            stripGeometry(), std::unique_ptr<PanelWindow>(panel),
            DropdownPanelController::Services{&clock, &monitors, &pointer});
        controller->connectSensor(&sensor);
    }

    void enterSensor() { Q_EMIT sensor.entered(); }
    void leaveSensor() { Q_EMIT sensor.exited(); }
    void pressSensor() { Q_EMIT sensor.pressed(); }

    NotchAnimationState &state() const { return *controller->animationState(); }

    // The root view reports hover; the controller hears of it one turn later.
    void hover(bool inPanel)
    {
        state().setMouseInPanel(inPanel);
        QCoreApplication::sendPostedEvents();
    }

    bool isOpen() const
    {
        return controller->isOpen() && state().isOpen() && panel->shown && monitors.globalCount() == 1
            && monitors.localCount() == 1;
    }
    bool isClosing() const
    {
        return !controller->isOpen() && !state().isOpen() && panel->shown && monitors.globalCount() == 0
            && monitors.localCount() == 0;
    }
    bool isHidden() const
    {
        return !controller->isOpen() && !state().isOpen() && !panel->shown && monitors.globalCount() == 0
            && monitors.localCount() == 0;
    }
};

} // namespace

class DropdownPanelControllerTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void buildsRootViewAndIdlesWhileHidden()
    {
        Rig rig;
        QCOMPARE(rig.panel->hostCount, 1);
        const PanelRootViewSetup &setup = rig.panel->hostedSetup;
        QCOMPARE(setup.animationState, rig.controller->animationState());
        QCOMPARE(setup.notchWidth, 200.0);
        QVERIFY(rig.isHidden());
        // Nothing runs while the panel is closed.
        QCOMPARE(rig.clock.pendingCount(), 0);

        // Hover changes while hidden start nothing either.
        rig.hover(true);
        rig.hover(false);
        QCOMPARE(rig.clock.pendingCount(), 0);
    }

    void entryOpensAtOnceAndLeavingClosesInTwoSteps()
    {
        Rig rig;
        rig.enterSensor();
        QVERIFY(rig.isOpen());
        QCOMPARE(rig.panel->currentFrame, QRectF(770, 0, 380, 520));
        QCOMPARE(rig.panel->activationRequests, 1);

        rig.leaveSensor();
        rig.clock.advance(499ms);
        QVERIFY(rig.isOpen());
        rig.clock.advance(1ms);
        QVERIFY(rig.isClosing()); // the view animates closed, the window stays
        rig.clock.advance(449ms);
        QVERIFY(rig.isClosing());
        rig.clock.advance(1ms);
        QVERIFY(rig.isHidden());
        QCOMPARE(rig.panel->hideCount, 1);
        // The frame was set once more 0.4 s after opening.
        QCOMPARE(rig.panel->framesSet.size(), 2);
        QCOMPARE(rig.clock.pendingCount(), 0);
    }

    void hoverOverPanelKeepsItOpen()
    {
        Rig rig;
        rig.enterSensor();
        // Down from the notch into the body: the exit starts the timer, the
        // hover cancels it.
        rig.leaveSensor();
        rig.clock.advance(200ms);
        rig.hover(true);
        rig.clock.advance(2s);
        QVERIFY(rig.isOpen());

        // Out of the body and back within 0.5 s.
        rig.hover(false);
        rig.clock.advance(300ms);
        rig.hover(true);
        rig.clock.advance(2s);
        QVERIFY(rig.isOpen());

        // The timer fires before the hover change was handled: the flag it
        // reads decides.
        rig.hover(false);
        rig.clock.advance(499ms);
        rig.state().setMouseInPanel(true);
        rig.clock.advance(1ms);
        QVERIFY(rig.isOpen());
        QCoreApplication::sendPostedEvents();

        // Leaving the notch while over the panel starts nothing.
        rig.leaveSensor();
        rig.clock.advance(2s);
        QVERIFY(rig.isOpen());

        // Out for 0.5 s: closes.
        rig.hover(false);
        rig.clock.advance(500ms);
        QVERIFY(rig.isClosing());
    }

    void typingPostponesClosing()
    {
        Rig rig;
        rig.enterSensor();
        rig.hover(true);
        rig.panel->keyPressHandler(); // typing with the pointer on the panel starts nothing
        QCOMPARE(rig.clock.pendingCount(), 1); // the re-frame only
        rig.hover(false);
        rig.clock.advance(400ms);
        rig.panel->keyPressHandler();
        rig.clock.advance(499ms);
        QVERIFY(rig.isOpen());
        rig.clock.advance(1ms); // 0.5 s after the last key
        QVERIFY(rig.isClosing());
    }

    void reenteringWhileClosingReopensWithoutLeavingScreen()
    {
        Rig rig;
        rig.enterSensor();
        rig.leaveSensor();
        rig.clock.advance(500ms + 300ms);
        QVERIFY(rig.isClosing());
        rig.enterSensor();
        QVERIFY(rig.isOpen());
        rig.clock.advance(2s);
        QVERIFY(rig.isOpen());
        QCOMPARE(rig.panel->hideCount, 0);
    }

    void bareScreenEdgeOpensOnlyAfterResting()
    {
        Rig rig;
        NotchGeometry edge = stripGeometry();
        edge.sensorIsScreenEdge = true;
        rig.controller->setGeometry(edge);

        // Passing over it: nothing at all, not even a pending close.
        rig.enterSensor();
        rig.clock.advance(149ms);
        rig.leaveSensor();
        rig.clock.advance(2s);
        QVERIFY(rig.isHidden());
        QCOMPARE(rig.clock.pendingCount(), 0);

        // Resting on it opens; leaving it then closes as from the strip.
        rig.enterSensor();
        rig.clock.advance(150ms);
        QVERIFY(rig.isOpen());
        rig.leaveSensor();
        rig.clock.advance(500ms);
        QVERIFY(rig.isClosing());
        rig.clock.advance(450ms);

        // A press does not wait, and the pending rest does not undo it.
        rig.enterSensor();
        rig.pressSensor();
        QVERIFY(rig.isOpen());
        rig.pressSensor();
        rig.clock.advance(150ms);
        QVERIFY(rig.isClosing());
    }

    void pressesOutsideFrameClose_data()
    {
        QTest::addColumn<QPointF>("press");
        QTest::addColumn<bool>("closes");
        QTest::newRow("inside") << QPointF(960, 300) << false;
        QTest::newRow("transparent lower part") << QPointF(771, 519) << false;
        QTest::newRow("left column") << QPointF(770, 100) << false;
        QTest::newRow("top row") << QPointF(1000, 0) << false;
        QTest::newRow("right edge") << QPointF(1150, 100) << true;
        QTest::newRow("row below") << QPointF(960, 520) << true;
        QTest::newRow("left of it") << QPointF(769.5, 100) << true;
        QTest::newRow("far away") << QPointF(100, 900) << true;
    }

    void pressesOutsideFrameClose()
    {
        QFETCH(QPointF, press);
        QFETCH(bool, closes);
        Rig rig;
        rig.enterSensor();
        rig.pointer.at = press;
        rig.monitors.pressGlobally();
        QCOMPARE(rig.isClosing(), closes);
        QCOMPARE(rig.isOpen(), !closes);
    }

    void pressesInOtherWindowsOfThisProgramClose()
    {
        Rig rig;
        QWindow otherWindow;
        rig.enterSensor();
        rig.monitors.pressLocally(&rig.panelWindow);
        QVERIFY(rig.isOpen());
        QCOMPARE(rig.panel->activationRequests, 2); // taken back from whoever had it
        rig.monitors.pressLocally(&otherWindow);
        QVERIFY(rig.isClosing());

        rig.controller->showPanel();
        rig.monitors.pressLocally(nullptr); // a press that has no window
        QVERIFY(rig.isClosing());

        // A press on the notch while open: closes here first, then the
        // sensor's toggle opens it again.
        rig.controller->showPanel();
        rig.monitors.pressLocally(&otherWindow);
        rig.pressSensor();
        QVERIFY(rig.isOpen());
        rig.clock.advance(2s);
        QCOMPARE(rig.panel->hideCount, 0);
        // Pressing the notch is a toggle.
        rig.pressSensor();
        QVERIFY(rig.isClosing());
    }

    void worksWithoutGlobalMonitor()
    {
        Rig rig;
        rig.monitors.globalAvailable = false;
        rig.enterSensor();
        QVERIFY(rig.controller->isOpen());
        QCOMPARE(rig.monitors.localCount(), 1);
        rig.controller->hidePanel();
        QCOMPARE(rig.monitors.localCount(), 0);
        QVERIFY(!rig.controller->isOpen());
    }

    void repeatedShowAndHideOnlyCancelPendingWork()
    {
        Rig rig;
        rig.controller->showPanel();
        rig.leaveSensor();
        rig.controller->showPanel(); // cancels the hide timer, nothing else
        QCOMPARE(rig.panel->showCount, 1);
        QCOMPARE(rig.panel->activationRequests, 1);
        QCOMPARE(rig.panel->framesSet.size(), 1);
        QCOMPARE(rig.monitors.globalCount(), 1);
        rig.clock.advance(2s);
        QVERIFY(rig.isOpen());

        rig.controller->hidePanel();
        rig.leaveSensor(); // a hide timer while closing
        rig.controller->hidePanel();
        // The second hide cancelled the timer but not the window's removal:
        // a window left up with its view closed would swallow presses.
        QCOMPARE(rig.clock.pendingCount(), 1);
        rig.clock.advance(450ms);
        QVERIFY(rig.isHidden());
        rig.controller->hidePanel();
        QVERIFY(rig.isHidden());
        QCOMPARE(rig.panel->hideCount, 1);
        QCOMPARE(rig.clock.pendingCount(), 0);
    }

    void reframeRunsOnceEvenAfterQuickClose()
    {
        Rig rig;
        rig.controller->showPanel();
        rig.clock.advance(100ms);
        rig.controller->hidePanel();
        // A screen change moved the notch meanwhile.
        rig.controller->setGeometry(stripGeometry(2880));
        rig.clock.advance(300ms);
        QCOMPARE(rig.panel->framesSet, (QList<QRectF>{QRectF(770, 0, 380, 520), QRectF(2690, 0, 380, 520)}));
        rig.clock.advance(150ms);
        QVERIFY(rig.isHidden());
        QCOMPARE(rig.panel->framesSet.size(), 2);
        // The root view keeps the width it was built with.
        QCOMPARE(rig.panel->hostedSetup.notchWidth, 200.0);
    }

    void delayedWorkDiesWithController()
    {
        Rig rig;
        rig.controller->showPanel();
        rig.leaveSensor();
        rig.controller.reset();
        // Its monitors went with it and its jobs no longer run.
        QCOMPARE(rig.monitors.globalCount(), 0);
        QCOMPARE(rig.monitors.localCount(), 0);
        rig.clock.advance(2s);
        QCOMPARE(rig.clock.pendingCount(), 0);
    }
};

QTEST_MAIN(DropdownPanelControllerTest)
#include "dropdown_panel_controller_test.moc"
