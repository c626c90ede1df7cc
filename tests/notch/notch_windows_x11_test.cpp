// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Marlowick developers

// The notch's windows where only a real X server shows how Qt hands on its
// events: run under tests/support/run_with_xvfb.sh (a 32-pixel top panel).
#include "notch/dropdown_panel.h"
#include "notch/notch_geometry.h"
#include "notch/notch_sensor_window.h"
#include "platform/key_repeat_filter.h"
#include "platform/qt_screen_provider.h"
#include "platform/x11_connection.h"
#include "support/x11/x_desktop.h"

#include <QQmlComponent>
#include <QQuickItem>
#include <QSignalSpy>
#include <QTest>

#include <cstdlib>

using namespace Qt::StringLiterals;

namespace {

constexpr int timeout = 10000;

// Everything the server sent before this call has been handled: a round trip
// puts every earlier event ahead of its reply, and Qt then dispatches them.
void syncWithServer()
{
    xcb_connection_t *c = X11Connection::connection();
    std::free(xcb_get_input_focus_reply(c, xcb_get_input_focus(c), nullptr));
    for (int i = 0; i < 3; ++i)
        QCoreApplication::processEvents();
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
        QVERIFY2(m_desktop.problem().isEmpty(), qPrintable(m_desktop.problem()));
    }

    void sensorReportsCrossingsAndPressesOnce()
    {
        NotchSensorWindow sensor(QRect(860, 0, 200, 32));
        QSignalSpy entered(&sensor, &NotchSensorWindow::entered);
        QSignalSpy exited(&sensor, &NotchSensorWindow::exited);
        QSignalSpy pressed(&sensor, &NotchSensorWindow::pressed);
        sensor.show();
        syncWithServer();
        // Moving inside is no crossing; a middle click or a wheel step is no
        // press, as around the panel (countsAsPress).
        QVERIFY(m_desktop.movePointer({960, 10}) && m_desktop.movePointer({1000, 20}));
        QVERIFY(m_desktop.click(1) && m_desktop.click(2) && m_desktop.click(3) && m_desktop.click(4)
                && m_desktop.movePointer({100, 700}));
        QTRY_COMPARE_WITH_TIMEOUT(exited.count(), 1, timeout);
        QCOMPARE(entered.count(), 1);
        QCOMPARE(pressed.count(), 2);

        // Moved: the old place is dead, the new one reports; an empty strip
        // (no screen) reports nothing at all.
        sensor.reposition(QRect(0, 0, 200, 32));
        syncWithServer();
        QVERIFY(m_desktop.movePointer({960, 10}) && m_desktop.movePointer({100, 10}));
        QTRY_COMPARE_WITH_TIMEOUT(entered.count(), 2, timeout);
        sensor.reposition(QRect(0, 0, 200, 0));
        syncWithServer();
        QVERIFY(m_desktop.movePointer({100, 700}) && m_desktop.movePointer({100, 0}) && m_desktop.click());
        QVERIFY(m_desktop.movePointer({100, 700}));
        syncWithServer();
        QCOMPARE(entered.count(), 2);
        QCOMPARE(exited.count(), 1);
        QCOMPARE(pressed.count(), 2);
    }

    void aHeldKeyActsOnceHoweverLateItsRepeatsArrive()
    {
        KeyRepeatFilter keyRepeats; // as the program has it; leaves with the test
        qApp->installEventFilter(&keyRepeats);
        // The panel, showing a view that counts keys.
        DropdownPanel panel;
        QPointer<QQuickItem> keys;
        panel.hostRootView(
            [&](QQmlEngine *engine, const PanelRootViewSetup &) {
                QQmlComponent component(engine);
                component.setData(
                    "import QtQuick\nItem { width: 340; height: 100; focus: true; property int acted; "
                    "property int releases; property int code; Keys.onReleased: ++releases; "
                    "Keys.onPressed: event => { code = event.nativeScanCode; acted += !event.isAutoRepeat } }",
                    QUrl());
                keys = qobject_cast<QQuickItem *>(component.create());
                return keys.get();
            },
            {});
        panel.setFrame(QRectF(770, 0, 380, 520));
        panel.show();
        panel.requestActivate();
        QTRY_VERIFY_WITH_TIMEOUT(keys && keys->hasActiveFocus(), timeout);
        QVERIFY(m_desktop.keys("Down")); // acts, and tells the key's code
        QTRY_COMPARE_WITH_TIMEOUT(keys->property("releases").toInt(), 1, timeout);

        // Down held, as the server repeats it: releases and presses at the
        // same server time. Each press comes only after Qt has handled the
        // release before it, as from a server too busy to send them
        // together: looking ahead, Qt finds no press.
        auto send = [&, c = X11Connection::connection()](uint8_t type, xcb_timestamp_t time) {
            const xcb_key_press_event_t key{type,
                                            uint8_t(keys->property("code").toUInt()),
                                            0,
                                            time,
                                            X11Connection::rootWindow(),
                                            xcb_window_t(panel.winId()),
                                            XCB_NONE,
                                            0,
                                            0,
                                            0,
                                            0,
                                            0,
                                            1,
                                            0};
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

    void aNewWorkAreaIsToldOnceAndMovesTheStrip()
    {
        QtScreenProvider screens;
        QSignalSpy changed(&screens, &ScreenProvider::screenConfigurationChanged);
        const auto setWorkArea = [&](int top) {
            return m_desktop.run(u"xprop"_s,
                                 {u"-root"_s, u"-f"_s, u"_NET_WORKAREA"_s, u"32c"_s, u"-set"_s, u"_NET_WORKAREA"_s,
                                  u"0, %1, 1920, %2"_s.arg(top).arg(1080 - top)});
        };
        auto restore = qScopeGuard([&] { setWorkArea(32); });
        QVERIFY(setWorkArea(40));
        QTRY_COMPARE_WITH_TIMEOUT(changed.count(), 1, timeout);
        QCOMPARE(detectNotchGeometry(screens).sensorRect, QRectF(860, 0, 200, 40));
        syncWithServer();
        QCOMPARE(changed.count(), 1);
    }

private:
    XDesktop m_desktop; // the server the test runs on
};

QTEST_MAIN(NotchWindowsX11Test)
#include "notch_windows_x11_test.moc"
