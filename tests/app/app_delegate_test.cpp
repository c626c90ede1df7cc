#include "app/app_delegate.h"
#include "app/status_item.h"

#include "fake_panel_window.h"
#include "fake_pointer_locator.h"
#include "fake_press_monitors.h"
#include "fake_screen_provider.h"
#include "manual_clock_scheduler.h"
#include "model/todo_store.h"
#include "notch/dropdown_panel_controller.h"
#include "notch/notch_geometry.h"
#include "notch/notch_sensor_window.h"
#include "notch/panel_metrics.h"
#include "storage/memory_todo_storage.h"
#include "storage/todo_list_codec.h"
#include "storage/todo_storage.h"

#include "support/test_main.h"

#include <QDir>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

ScreenDescription screen(qreal width, qreal topPanelHeight)
{
    return ScreenDescription{QRectF(0, 0, width, 1080), topPanelHeight, 1, {}, {}};
}

// The delegate over hand-driven services, a settings file of its own and a
// recording panel window.
struct Harness
{
    QTemporaryDir dir;
    QString settingsFile = dir.filePath(u"marlowick.conf"_s);
    FakeScreenProvider screens;
    ManualClockScheduler scheduler;
    FakePressMonitors monitors;
    FakePointerLocator pointer;
    FakePanelWindow *panel = nullptr;
    int panelsMade = 0;
    // Set: the store keeps its list there instead of the settings file.
    MemoryTodoStorage::Contents *memory = nullptr;
    AppDelegate delegate{AppDelegate::Services{&screens, &scheduler, &monitors, &pointer}, factories()};

    Harness() { screens.screenList = {screen(1920, 32)}; }

    AppDelegate::Factories factories()
    {
        AppDelegate::Factories f;
        f.store = [this] {
            if (memory)
                return std::make_unique<TodoStore>(std::make_unique<MemoryTodoStorage>(memory));
            return std::make_unique<TodoStore>(std::make_unique<SettingsTodoStorage>(settingsFile));
        };
        f.panel = [this] {
            ++panelsMade;
            auto window = std::make_unique<FakePanelWindow>();
            panel = window.get();
            return window;
        };
        return f;
    }

    void changeScreens(QList<ScreenDescription> list)
    {
        screens.screenList = std::move(list);
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
        TodoItem stored;
        stored.id = QUuid::createUuid();
        stored.title = u"Return the library books"_s;
        stored.createdAt = stored.date = 786240000;
        QVERIFY(SettingsTodoStorage(h.settingsFile).write(TodoStore::itemsDefaultsKey, {stored}));

        // Before launch there is no store, and a pass makes nothing.
        h.delegate.setupWindows();
        QVERIFY(!h.delegate.sensorWindow());
        QCOMPARE(h.panelsMade, 0);

        QSignalSpy ready(&h.delegate, &AppDelegate::ready);
        if (!StatusItem::isTrayAvailable())
            QTest::ignoreMessage(QtWarningMsg, QRegularExpression(u"no system tray"_s));
        h.delegate.start();
        QCOMPARE(ready.count(), 1);
        QCOMPARE(h.delegate.store()->items(), QList<TodoItem>{stored});
        QVERIFY(h.delegate.sensorWindow());
        QCOMPARE(h.delegate.sensorWindow()->rect(), QRect(860, 0, 200, 32));
        DropdownPanelController *controller = h.delegate.panelController();
        QVERIFY(controller);
        QCOMPARE(h.panelsMade, 1);
        QVERIFY(!h.panel->shown); // the panel is not opened at start

        const NotchSensorWindow *sensor = h.delegate.sensorWindow();
        const TodoStore *store = h.delegate.store();
        // The missing tray is told once: the tray item is not made again.
        QTest::failOnWarning(QRegularExpression(u"no system tray"_s));

        // A wider screen and a taller top panel, the panel closed: only the
        // sensor moves; the panel takes its new place when it opens.
        h.changeScreens({screen(2560, 40)});
        QCOMPARE(h.delegate.sensorWindow()->rect(), QRect(1180, 0, 200, 40));
        QVERIFY(h.panel->framesSet.isEmpty());
        Q_EMIT h.delegate.sensorWindow()->entered(); // the sensor drives the controller
        QVERIFY(controller->isOpen());
        QCOMPARE(h.panel->currentFrame, QRectF(1090, 0, 380, 520));

        // Open: the panel moves with the strip at once.
        h.changeScreens({screen(1920, 24)});
        QCOMPARE(h.delegate.sensorWindow()->rect(), QRect(860, 0, 200, 24));
        QCOMPARE(h.panel->currentFrame, QRectF(770, 0, 380, 520));
        QVERIFY(controller->isOpen());

        // Launch again and more passes: nothing is made a second time.
        h.delegate.start();
        h.delegate.setupWindows();
        QCOMPARE(h.delegate.sensorWindow(), sensor);
        QCOMPARE(h.delegate.panelController(), controller);
        QCOMPARE(h.delegate.store(), store);
        QCOMPARE(h.panelsMade, 1);
        QCOMPARE(ready.count(), 1);
    }

    void trayClickThatClosedThePanelOnItsPressDoesNotReopenIt()
    {
        Harness h;
        if (!StatusItem::isTrayAvailable())
            QTest::ignoreMessage(QtWarningMsg, QRegularExpression(u"no system tray"_s));
        h.delegate.start();
        DropdownPanelController *controller = h.delegate.panelController();
        h.delegate.togglePanelFromTray();
        QVERIFY(controller->isOpen());

        // The press of a click on the tray icon lies outside the panel and
        // closes it; the click itself comes with the release.
        h.pointer.at = QPointF(1900, 10);
        h.monitors.pressGlobally();
        QVERIFY(!controller->isOpen());
        h.scheduler.advance(std::chrono::milliseconds(120));
        h.delegate.togglePanelFromTray();
        QVERIFY(!controller->isOpen());

        // A later click opens it again, and a click on the open panel's
        // icon that did not close it first still closes it.
        h.scheduler.advance(PanelMetrics::trayClickGrace());
        h.delegate.togglePanelFromTray();
        QVERIFY(controller->isOpen());
        h.delegate.togglePanelFromTray();
        QVERIFY(!controller->isOpen());
    }

    void anUnsavedListIsTriedAgainAtOpeningAndKeptInARecoveryFileAtQuit()
    {
        QTemporaryDir state;
        qputenv("XDG_STATE_HOME", QFile::encodeName(state.path()));
        Harness h;
        MemoryTodoStorage::Contents memory;
        h.memory = &memory;
        if (!StatusItem::isTrayAvailable())
            QTest::ignoreMessage(QtWarningMsg, QRegularExpression(u"no system tray"_s));
        h.delegate.start();
        TodoStore *store = h.delegate.store();
        memory.writeError = u"No space left on device"_s;
        store->addTodo(u"Buy stamps"_s);
        memory.writeError.clear();
        h.delegate.togglePanelFromTray(); // opens the panel
        QVERIFY(store->isSaved());
        QCOMPARE(memory.writes, 1);

        memory.writeError = u"No space left on device"_s;
        store->addTodo(u"Post the letter"_s);
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression(u"Not saved: No space left on device. The whole"_s));
        h.delegate.saveBeforeExit();
        const QFileInfoList files = QDir(state.filePath(u"marlowick"_s)).entryInfoList(QDir::Files);
        QCOMPARE(files.size(), 1);
        QVERIFY(files.first().fileName().startsWith(u"unsaved-"_s));
        const QVariant kept = SettingsTodoStorage(files.first().filePath()).value(TodoStore::itemsDefaultsKey);
        QCOMPARE(TodoListCodec::decode(kept.toByteArray()), store->items());
        qunsetenv("XDG_STATE_HOME");
    }
};

MARLOWICK_TEST(AppDelegateTest)
#include "app_delegate_test.moc"
