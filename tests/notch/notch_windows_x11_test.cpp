// The notch's real windows on an X server: run under
// tests/support/run_with_xvfb.sh, which simulates a 32-pixel top panel.
// The pointer is driven with xdotool, as a user would move it.
#include "notch/dropdown_panel.h"
#include "notch/dropdown_panel_controller.h"
#include "notch/notch_animation_state.h"
#include "notch/notch_geometry.h"
#include "notch/notch_sensor_window.h"
#include "views/notch_shape.h"
#include "key_repeat_filter.h"
#include "qt_pointer_locator.h"
#include "qt_scheduler.h"
#include "qt_screen_provider.h"
#include "x11_connection.h"
#include "x11_press_monitors.h"

#include "support/test_main.h"

#include <QCursor>
#include <QElapsedTimer>
#include <QProcess>
#include <QQmlComponent>
#include <QQmlEngine>
#include <QQuickItem>
#include <QSignalSpy>
#include <QTest>

#include <xcb/shape.h>
#include <xcb/xcb.h>

#include <cstdlib>

using namespace Qt::StringLiterals;

namespace {

constexpr int timeout = 10000;

bool xdotool(const QStringList &arguments)
{
    QProcess process;
    process.start(u"xdotool"_s, arguments);
    return process.waitForFinished(timeout) && process.exitStatus() == QProcess::NormalExit && process.exitCode() == 0;
}

bool movePointer(int x, int y)
{
    // --sync waits until the pointer has moved, which it never does when it
    // is there already.
    if (QCursor::pos() == QPoint(x, y))
        return true;
    return xdotool({u"mousemove"_s, u"--sync"_s, QString::number(x), QString::number(y)});
}

// Everything the server sent before this call has been handled: a round trip
// puts every earlier event ahead of its reply, and Qt then dispatches them.
void syncWithServer()
{
    xcb_connection_t *c = X11Connection::connection();
    std::free(xcb_get_input_focus_reply(c, xcb_get_input_focus(c), nullptr));
    for (int i = 0; i < 3; ++i)
        QCoreApplication::processEvents();
}

struct MappedWindow
{
    bool viewable = false;
    QRect rect;
};

MappedWindow inspect(xcb_window_t window)
{
    xcb_connection_t *c = X11Connection::connection();
    MappedWindow result;
    if (auto *attributes = xcb_get_window_attributes_reply(c, xcb_get_window_attributes(c, window), nullptr)) {
        result.viewable = attributes->map_state == XCB_MAP_STATE_VIEWABLE;
        std::free(attributes);
    }
    if (auto *geometry = xcb_get_geometry_reply(c, xcb_get_geometry(c, window), nullptr)) {
        auto *origin = xcb_translate_coordinates_reply(
            c, xcb_translate_coordinates(c, window, X11Connection::rootWindow(), 0, 0), nullptr);
        if (origin)
            result.rect = QRect(origin->dst_x, origin->dst_y, geometry->width, geometry->height);
        std::free(origin);
        std::free(geometry);
    }
    return result;
}

xcb_window_t inputFocus()
{
    xcb_connection_t *c = X11Connection::connection();
    auto *reply = xcb_get_input_focus_reply(c, xcb_get_input_focus(c), nullptr);
    const xcb_window_t focus = reply ? reply->focus : XCB_NONE;
    std::free(reply);
    return focus;
}

// The notch as the program sets it up: sensor, panel and controller on the
// real services.
struct Notch
{
    QtScreenProvider screens;
    QtScheduler scheduler;
    X11PressMonitors monitors;
    QtPointerLocator pointer;
    NotchGeometry geometry = detectNotchGeometry(screens);
    NotchSensorWindow sensor{geometry.sensorDeviceRect};
    DropdownPanel *panel = new DropdownPanel;
    DropdownPanelController controller;

    explicit Notch(const PanelRootViewFactory &rootView = {})
        : controller(geometry, std::unique_ptr<PanelWindow>(panel),
                     DropdownPanelController::Services{&scheduler, &monitors, &pointer}, rootView)
    {
        controller.connectSensor(&sensor);
        sensor.show();
    }

    bool panelMapped() const { return inspect(xcb_window_t(panel->winId())).viewable; }
};

// A plain window of another X client, which counts the presses it gets.
struct OtherClientWindow
{
    xcb_connection_t *c = xcb_connect(nullptr, nullptr);
    xcb_window_t window = xcb_generate_id(c);
    int presses = 0;

    explicit OtherClientWindow(const QRect &r)
    {
        const uint32_t values[] = {1, XCB_EVENT_MASK_BUTTON_PRESS};
        xcb_create_window(c, XCB_COPY_FROM_PARENT, window, xcb_setup_roots_iterator(xcb_get_setup(c)).data->root,
                          int16_t(r.x()), int16_t(r.y()), uint16_t(r.width()), uint16_t(r.height()), 0,
                          XCB_WINDOW_CLASS_INPUT_OUTPUT, XCB_COPY_FROM_PARENT,
                          XCB_CW_OVERRIDE_REDIRECT | XCB_CW_EVENT_MASK, values);
        xcb_map_window(c, window);
        std::free(xcb_get_input_focus_reply(c, xcb_get_input_focus(c), nullptr)); // mapped by now
    }
    ~OtherClientWindow() { xcb_disconnect(c); }
    int pressesSoFar()
    {
        while (xcb_generic_event_t *event = xcb_poll_for_event(c)) {
            presses += (event->response_type & 0x7f) == XCB_BUTTON_PRESS;
            std::free(event);
        }
        return presses;
    }
};

// The window's shape of the given kind as the server has it.
QRegion shapeOf(xcb_window_t window, xcb_shape_kind_t kind)
{
    xcb_connection_t *c = X11Connection::connection();
    auto *reply = xcb_shape_get_rectangles_reply(c, xcb_shape_get_rectangles(c, window, kind), nullptr);
    QRegion region;
    for (int i = 0; reply && i < xcb_shape_get_rectangles_rectangles_length(reply); ++i) {
        const xcb_rectangle_t r = xcb_shape_get_rectangles_rectangles(reply)[i];
        region += QRect(r.x, r.y, r.width, r.height);
    }
    std::free(reply);
    return region;
}

} // namespace

class NotchWindowsX11Test : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase()
    {
        if (!X11Connection::connection())
            QSKIP("needs an X server: run under tests/support/run_with_xvfb.sh");
    }

    void init() { QVERIFY(movePointer(100, 700)); }

    void sensorReportsCrossingsAndPressesOnce()
    {
        NotchSensorWindow sensor(QRect(860, 0, 200, 32));
        QSignalSpy entered(&sensor, &NotchSensorWindow::entered);
        QSignalSpy exited(&sensor, &NotchSensorWindow::exited);
        QSignalSpy pressed(&sensor, &NotchSensorWindow::pressed);
        sensor.show();
        syncWithServer();

        QVERIFY(movePointer(960, 10));
        QTRY_COMPARE_WITH_TIMEOUT(entered.count(), 1, timeout);
        QVERIFY(movePointer(1000, 20)); // moving inside is no crossing
        QVERIFY(movePointer(100, 700));
        QTRY_COMPARE_WITH_TIMEOUT(exited.count(), 1, timeout);
        QCOMPARE(entered.count(), 1);

        QVERIFY(movePointer(960, 10));
        QVERIFY(xdotool({u"click"_s, u"1"_s}));
        QVERIFY(xdotool({u"click"_s, u"3"_s}));
        QTRY_COMPARE_WITH_TIMEOUT(pressed.count(), 2, timeout);
        QVERIFY(xdotool({u"click"_s, u"4"_s})); // a wheel step is no press
        syncWithServer();
        QCOMPARE(pressed.count(), 2);
        QCOMPARE(entered.count(), 2);
        QCOMPARE(exited.count(), 1);

        // Moved: the old place is dead, the new one reports.
        QVERIFY(movePointer(100, 700));
        sensor.reposition(QRect(0, 0, 200, 32));
        syncWithServer();
        QVERIFY(movePointer(960, 10));
        QVERIFY(movePointer(100, 10));
        QTRY_COMPARE_WITH_TIMEOUT(entered.count(), 3, timeout);
        QCOMPARE(inspect(xcb_window_t(sensor.winId())).rect, QRect(0, 0, 200, 32));

        // An empty strip (a hidden top panel) reports nothing at all.
        QVERIFY(movePointer(100, 700));
        sensor.reposition(QRect(0, 0, 200, 0));
        syncWithServer();
        const int exitedBefore = exited.count();
        QVERIFY(movePointer(100, 0));
        QVERIFY(xdotool({u"click"_s, u"1"_s}));
        QVERIFY(movePointer(100, 700));
        syncWithServer();
        QCOMPARE(entered.count(), 3);
        QCOMPARE(pressed.count(), 2);
        QCOMPARE(exited.count(), exitedBefore);

    }

    void panelOpensOnEntryAndClosesAfterLeaving()
    {
        Notch notch;
        // The simulated top panel reached the geometry through Qt.
        QCOMPARE(notch.geometry.sensorRect, QRectF(860, 0, 200, 32));
        syncWithServer();
        QVERIFY(!notch.panelMapped());

        QElapsedTimer clock;
        clock.start();
        QVERIFY(movePointer(960, 10));
        QTRY_VERIFY_WITH_TIMEOUT(notch.panelMapped(), timeout);
        qInfo("pointer entry to panel mapped, including xdotool: %lld ms", clock.elapsed());
        QCOMPARE(inspect(xcb_window_t(notch.panel->winId())).rect, QRect(770, 0, 380, 520));
        QVERIFY(notch.controller.animationState()->isOpen());

        // Over the panel (the stand-in body reports hover) it stays open.
        QVERIFY(movePointer(960, 400));
        QTRY_VERIFY_WITH_TIMEOUT(notch.controller.animationState()->mouseInPanel(), timeout);

        // Away: the view closes 0.5 s later, the window goes 0.45 s after that.
        QList<QByteArray> order;
        connect(notch.controller.animationState(), &NotchAnimationState::mouseInPanelChanged, this,
                [&] { order.append("hover"); });
        connect(notch.controller.animationState(), &NotchAnimationState::isOpenChanged, this,
                [&] { order.append("closed"); });
        clock.restart();
        QVERIFY(movePointer(100, 700));
        QTRY_VERIFY_WITH_TIMEOUT(!notch.panelMapped(), timeout);
        qInfo("pointer away to panel unmapped: %lld ms", clock.elapsed());
        QCOMPARE(order, (QList<QByteArray>{"hover", "closed"}));
        QVERIFY(!notch.controller.isOpen());
    }

    void openPanelTakesTyping()
    {
        // The panel is override-redirect, so no window manager would give it
        // the keyboard; a text field in the root view must still get keys.
        QPointer<QQuickItem> field;
        Notch notch([&](QQmlEngine *engine, const PanelRootViewSetup &) {
            QQmlComponent component(engine);
            component.setData("import QtQuick\nTextInput { width: 340; height: 40; focus: true }", QUrl());
            auto *item = qobject_cast<QQuickItem *>(component.create());
            field = item;
            return item;
        });
        QTRY_VERIFY_WITH_TIMEOUT(field, timeout); // built when the event loop turns

        // As on a desktop, another window has the keyboard. (Focus on the
        // root would send keys to whatever is under the pointer.)
        xcb_connection_t *c = X11Connection::connection();
        const xcb_window_t other = xcb_generate_id(c);
        const uint32_t overrideRedirect = 1;
        xcb_create_window(c, XCB_COPY_FROM_PARENT, other, X11Connection::rootWindow(), 0, 900, 50, 50, 0,
                          XCB_WINDOW_CLASS_INPUT_OUTPUT, XCB_COPY_FROM_PARENT, XCB_CW_OVERRIDE_REDIRECT,
                          &overrideRedirect);
        auto destroyOther = qScopeGuard([&] {
            xcb_destroy_window(c, other);
            xcb_flush(c);
        });
        xcb_map_window(c, other);
        xcb_set_input_focus(c, XCB_INPUT_FOCUS_NONE, other, XCB_CURRENT_TIME);
        syncWithServer();
        QCOMPARE(inputFocus(), other);

        QVERIFY(movePointer(960, 10));
        QTRY_VERIFY_WITH_TIMEOUT(notch.panelMapped(), timeout);
        notch.controller.animationState()->setMouseInPanel(true); // the test's root view reports no hover
        QTRY_COMPARE_WITH_TIMEOUT(inputFocus(), xcb_window_t(notch.panel->winId()), timeout);
        QTRY_VERIFY_WITH_TIMEOUT(notch.panel->isActive(), timeout);
        QVERIFY(xdotool({u"type"_s, u"milk"_s}));
        QTRY_COMPARE_WITH_TIMEOUT(field->property("text").toString(), u"milk"_s, timeout);

        // Another window takes the keyboard; a press in the panel takes it back.
        xcb_set_input_focus(c, XCB_INPUT_FOCUS_NONE, other, XCB_CURRENT_TIME);
        syncWithServer();
        QCOMPARE(inputFocus(), other);
        QVERIFY(movePointer(1100, 20));
        QVERIFY(xdotool({u"click"_s, u"1"_s}));
        QTRY_COMPARE_WITH_TIMEOUT(inputFocus(), xcb_window_t(notch.panel->winId()), timeout);
        QVERIFY(xdotool({u"type"_s, u" and eggs"_s}));
        QTRY_COMPARE_WITH_TIMEOUT(field->property("text").toString(), u"milk and eggs"_s, timeout);
    }

    void aHeldKeyActsOnceHoweverLateItsRepeatsArrive()
    {
        KeyRepeatFilter keyRepeats; // as the program has it; leaves with the test
        qApp->installEventFilter(&keyRepeats);
        QPointer<QQuickItem> keys;
        Notch notch([&](QQmlEngine *engine, const PanelRootViewSetup &) {
            QQmlComponent component(engine);
            component.setData("import QtQuick\nItem { width: 340; height: 100; focus: true; property int acted; "
                              "property int releases; property int code; Keys.onReleased: ++releases; "
                              "Keys.onPressed: event => { code = event.nativeScanCode; acted += !event.isAutoRepeat } }",
                              QUrl());
            keys = qobject_cast<QQuickItem *>(component.create());
            return keys.get();
        });
        notch.controller.showPanel();
        notch.controller.animationState()->setMouseInPanel(true);
        QTRY_VERIFY_WITH_TIMEOUT(keys->hasActiveFocus(), timeout);
        QVERIFY(xdotool({u"key"_s, u"Down"_s})); // acts, and tells the key's code
        QTRY_COMPARE_WITH_TIMEOUT(keys->property("releases").toInt(), 1, timeout);

        // Down held, as the server repeats it: releases and presses at the
        // same server time. Each press comes only after Qt has handled the
        // release before it, as from a server too busy to send them
        // together: looking ahead, Qt finds no press.
        auto send = [&, c = X11Connection::connection()](uint8_t type, xcb_timestamp_t time) {
            const xcb_key_press_event_t key{type, uint8_t(keys->property("code").toUInt()), 0, time,
                                            X11Connection::rootWindow(), xcb_window_t(notch.panel->winId()),
                                            XCB_NONE, 0, 0, 0, 0, 0, 1, 0};
            xcb_send_event(c, false, key.event, XCB_EVENT_MASK_KEY_PRESS | XCB_EVENT_MASK_KEY_RELEASE,
                           reinterpret_cast<const char *>(&key));
            xcb_flush(c);
        };
        send(XCB_KEY_PRESS, 1000);
        for (int repeat = 1; repeat <= 6; ++repeat) {
            send(XCB_KEY_RELEASE, 1500 + 33 * repeat);
            QTRY_COMPARE_WITH_TIMEOUT(keys->property("releases").toInt(), 1 + repeat, timeout);
            if (repeat < 6)
                send(XCB_KEY_PRESS, 1500 + 33 * repeat);
        }
        QCOMPARE(keys->property("acted").toInt(), 2);
    }

    void topPanelChangeMovesTheStrip()
    {
        QtScreenProvider screens;
        QSignalSpy changed(&screens, &ScreenProvider::screenConfigurationChanged);
        auto restore = qScopeGuard([] {
            QProcess::execute(u"xprop"_s, {u"-root"_s, u"-f"_s, u"_NET_WORKAREA"_s, u"32c"_s, u"-set"_s,
                                           u"_NET_WORKAREA"_s, u"0, 32, 1920, 1048"_s});
        });
        QCOMPARE(QProcess::execute(u"xprop"_s, {u"-root"_s, u"-f"_s, u"_NET_WORKAREA"_s, u"32c"_s, u"-set"_s,
                                                u"_NET_WORKAREA"_s, u"0, 40, 1920, 1040"_s}),
                 0);
        QTRY_COMPARE_WITH_TIMEOUT(changed.count(), 1, timeout);
        QCOMPARE(detectNotchGeometry(screens).sensorRect, QRectF(860, 0, 200, 40));
        syncWithServer();
        QCOMPARE(changed.count(), 1); // one change, one notification
    }

    void pressesBesideTheBodyReachTheWindowBelow_data()
    {
        QTest::addColumn<bool>("composited");
        QTest::newRow("compositing manager") << true;
        QTest::newRow("none") << false;
    }

    void pressesBesideTheBodyReachTheWindowBelow()
    {
        QFETCH(bool, composited);
        QProcess compositor;
        auto stopCompositor = qScopeGuard([&] {
            compositor.kill();
            compositor.waitForFinished(timeout);
        });
        if (composited)
            compositor.start(u"xcompmgr"_s, {});
        QTRY_COMPARE_WITH_TIMEOUT(X11Connection::hasCompositingManager(), composited, timeout); // or gone

        // A body with rounded bottom corners; the hover is the test's to
        // set, so only a press could close the panel here.
        QPointer<QQuickItem> body;
        Notch notch([&](QQmlEngine *engine, const PanelRootViewSetup &) {
            engine->addImportPath(u"qrc:/"_s);
            QQmlComponent component(engine);
            component.setData("import QtQuick\nimport Marlowick\nItem { width: 340; height: 200; "
                              "property alias outline: shape; "
                              "NotchShapeItem { id: shape; anchors.fill: parent; bottomCornerRadius: 18 } }",
                              QUrl());
            body = qobject_cast<QQuickItem *>(component.create());
            return body.get();
        });
        QTRY_VERIFY_WITH_TIMEOUT(body, timeout);
        QCOMPARE(body->position(), QPointF(20, 0)); // top centre
        NotchAnimationState *state = notch.controller.animationState();

        // Another program's window under the panel's frame, below the body
        // (the X server counts in device pixels).
        const qreal scale = notch.panel->devicePixelRatio();
        const QPoint below = (notch.geometry.panelFrame().topLeft() + QPointF(40, 300)).toPoint() * scale;
        OtherClientWindow windowBelow(QRect(below, QSize(40, 40)));
        notch.controller.showPanel();
        QTRY_VERIFY_WITH_TIMEOUT(notch.panelMapped(), timeout);
        state->setMouseInPanel(true);

        // Presses reach the panel on its outline only; without a compositing
        // manager only the outline shows.
        const auto panel = xcb_window_t(notch.panel->winId());
        auto outline = [&] { return NotchShape{0, 18, 0}.pixelRegion(QRectF(20, 0, 340, body->height()), scale); };
        QTRY_COMPARE_WITH_TIMEOUT(shapeOf(panel, XCB_SHAPE_SK_INPUT), outline(), timeout);
        const QRegion wholeWindow(QRect(QPoint(0, 0), notch.panel->size() * scale));
        QCOMPARE(shapeOf(panel, XCB_SHAPE_SK_BOUNDING), composited ? wholeWindow : outline());
        // ... and follow the body.
        body->setHeight(260);
        QTRY_COMPARE_WITH_TIMEOUT(shapeOf(panel, XCB_SHAPE_SK_INPUT), outline(), timeout);
        QCOMPARE(shapeOf(panel, XCB_SHAPE_SK_BOUNDING), composited ? wholeWindow : outline());

        // Inside the frame beside the body: the window below gets the press,
        // and the panel stays open.
        QVERIFY(movePointer(below.x() + 10, below.y() + 10));
        QVERIFY(xdotool({u"click"_s, u"1"_s}));
        QTRY_COMPARE_WITH_TIMEOUT(windowBelow.pressesSoFar(), 1, timeout);
        syncWithServer();
        QVERIFY(notch.controller.isOpen());
    }
};

MARLOWICK_TEST(NotchWindowsX11Test)
#include "notch_windows_x11_test.moc"
