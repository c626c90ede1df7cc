// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Marlowick developers

#include "app/app_delegate.h"

#include "model/todo_store.h"
#include "notch/dropdown_panel_controller.h"
#include "notch/notch_animation_state.h"
#include "notch/notch_sensor_window.h"
#include "storage/memory_todo_storage.h"
#include "support/platform/fake_panel_window.h"
#include "support/platform/fake_pointer_locator.h"
#include "support/platform/fake_press_monitors.h"
#include "support/platform/fake_screen_provider.h"
#include "support/platform/manual_clock_scheduler.h"
#include "views/panel_metrics.h"

#include <QSignalSpy>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

// The delegate, started, over hand-driven services, a list in memory and a
// recording panel window.
struct Harness {
    FakeScreenProvider screens;
    ManualClockScheduler scheduler;
    FakePressMonitors monitors;
    FakePointerLocator pointer;
    MemoryTodoStorage::Contents memory;
    FakePanelWindow *panel = nullptr;
    int panelsMade = 0;
    AppDelegate delegate{
        AppDelegate::Services{&screens, &scheduler, &monitors, &pointer},
        AppDelegate::Factories{
            .store = [this] { return std::make_unique<TodoStore>(std::make_unique<MemoryTodoStorage>(&memory)); },
            .panel =
                [this] {
                    ++panelsMade;
                    return std::unique_ptr<PanelWindow>(panel = new FakePanelWindow);
                },
            .statusItem = false}};
    DropdownPanelController *controller = nullptr;

    Harness()
    {
        setScreen(1920, 32);
        delegate.start();
        controller = delegate.panelController();
    }

    void setScreen(qreal width, qreal topPanelHeight)
    {
        screens.screenList = {ScreenDescription{QRectF(0, 0, width, 1080), topPanelHeight, 1}};
        Q_EMIT screens.screenConfigurationChanged();
    }
};

} // namespace

class AppDelegateTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void launchSetsUpOnceAndScreenChangesOnlyMoveTheWindows()
    {
        Harness h;
        QCOMPARE(h.delegate.sensorWindow()->rect(), QRect(860, 0, 200, 32));
        QVERIFY(!h.panel->shown); // the panel is not opened at start

        // A wider screen and a taller top panel, the panel closed: only the
        // sensor moves; the panel takes its new place when it opens.
        h.setScreen(2560, 40);
        QCOMPARE(h.delegate.sensorWindow()->rect(), QRect(1180, 0, 200, 40));
        QVERIFY(h.panel->framesSet.isEmpty());
        Q_EMIT h.delegate.sensorWindow()->entered(); // the sensor drives the controller
        QVERIFY(h.controller->isOpen());
        QCOMPARE(h.panel->currentFrame, QRectF(1090, 0, 380, 520));

        // Open: the panel moves with the strip at once.
        h.setScreen(1920, 24);
        QCOMPARE(h.delegate.sensorWindow()->rect(), QRect(860, 0, 200, 24));
        QCOMPARE(h.panel->currentFrame, QRectF(770, 0, 380, 520));
        QVERIFY(h.controller->isOpen());

        // Nothing is made a second time, by the passes or by another launch.
        const NotchSensor *sensor = h.delegate.sensorWindow();
        h.delegate.start();
        QCOMPARE(h.delegate.sensorWindow(), sensor);
        QCOMPARE(h.delegate.panelController(), h.controller);
        QCOMPARE(h.panelsMade, 1);
    }

    void trayClickThatClosedThePanelOnItsPressDoesNotReopenIt()
    {
        Harness h;
        h.delegate.togglePanelFromTray();
        QVERIFY(h.controller->isOpen());

        // The press of a click on the tray icon lies outside the panel and
        // closes it; the click itself comes with the release.
        h.pointer.at = QPointF(1900, 10);
        h.monitors.pressGlobally();
        QVERIFY(!h.controller->isOpen());
        h.scheduler.advance(std::chrono::milliseconds(120));
        h.delegate.togglePanelFromTray();
        QVERIFY(!h.controller->isOpen());

        // A later click opens it again, and a click on the open panel's
        // icon that did not close it first still closes it.
        h.scheduler.advance(PanelMetrics::trayClickGrace());
        h.delegate.togglePanelFromTray();
        QVERIFY(h.controller->isOpen());
        h.delegate.togglePanelFromTray();
        QVERIFY(!h.controller->isOpen());
    }

    void showingTheAddFieldTakesTheKeyboardAlsoForAnOpenPanel()
    {
        Harness h;
        QSignalSpy addFieldRequests(h.controller->animationState(), &NotchAnimationState::addFieldRequested);
        h.delegate.showAddField();
        QVERIFY(h.controller->isOpen());
        QCOMPARE(addFieldRequests.size(), 1);
        // Another window took the keyboard from the open panel; asked again,
        // the panel asks for it back.
        const int activations = h.panel->activationRequests;
        h.delegate.showAddField();
        QVERIFY(h.controller->isOpen());
        QCOMPARE(h.panel->activationRequests, activations + 1);
        QCOMPARE(addFieldRequests.size(), 2);
    }

    void anUnsavedListIsTriedAgainAtOpening()
    {
        Harness h;
        h.memory.writeError = u"No space left on device"_s;
        h.delegate.store()->addTodo(u"Buy stamps"_s);
        QVERIFY(!h.delegate.store()->isSaved());
        h.memory.writeError.clear();
        h.delegate.togglePanelFromTray(); // opens the panel
        QVERIFY(h.delegate.store()->isSaved());
        QCOMPARE(TodoListCodec::decode(h.memory.values.value(TodoStore::itemsDefaultsKey).toByteArray()),
                 h.delegate.store()->items());
    }
};

QTEST_MAIN(AppDelegateTest)
#include "app_delegate_test.moc"
