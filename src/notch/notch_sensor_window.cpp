// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Marlowick developers

#include "notch_sensor_window.h"

#include "x11_connection.h"

#include <QCoreApplication>

NotchSensorWindow::NotchSensorWindow(const QRect &rect, QObject *parent)
    : NotchSensor(parent)
    , m_rect(rect)
{
    xcb_connection_t *c = X11Connection::connection();
    const xcb_window_t root = X11Connection::rootWindow();
    if (!c || root == XCB_NONE)
        return;
    m_window = xcb_generate_id(c);
    const uint32_t values[] = {
        1, // override-redirect
        XCB_EVENT_MASK_ENTER_WINDOW | XCB_EVENT_MASK_LEAVE_WINDOW | XCB_EVENT_MASK_BUTTON_PRESS,
    };
    xcb_create_window(c, XCB_COPY_FROM_PARENT, m_window, root, int16_t(rect.x()), int16_t(rect.y()),
                      uint16_t(qMax(1, rect.width())), uint16_t(qMax(1, rect.height())), 0, XCB_WINDOW_CLASS_INPUT_ONLY,
                      XCB_COPY_FROM_PARENT, XCB_CW_OVERRIDE_REDIRECT | XCB_CW_EVENT_MASK, values);
    static const char name[] = "Marlowick notch sensor";
    xcb_change_property(c, XCB_PROP_MODE_REPLACE, m_window, XCB_ATOM_WM_NAME, XCB_ATOM_STRING, 8, sizeof(name) - 1,
                        name);
    xcb_flush(c);
    QCoreApplication::instance()->installNativeEventFilter(this);
}

NotchSensorWindow::~NotchSensorWindow()
{
    if (!m_window)
        return;
    QCoreApplication::instance()->removeNativeEventFilter(this);
    if (xcb_connection_t *c = X11Connection::connection()) {
        xcb_destroy_window(c, m_window);
        xcb_flush(c);
    }
}

void NotchSensorWindow::reposition(const QRect &rect)
{
    m_rect = rect;
    show();
}

void NotchSensorWindow::show()
{
    xcb_connection_t *c = X11Connection::connection();
    if (!c || !m_window)
        return;
    // X has no windows of zero size; such a sensor is simply not there.
    if (m_rect.isEmpty()) {
        xcb_unmap_window(c, m_window);
        // Unmapping sends no leave event; the next entry must still count.
        m_pointerInside = false;
    } else {
        const QRect &r = m_rect;
        const uint32_t values[] = {uint32_t(r.x()), uint32_t(r.y()), uint32_t(r.width()), uint32_t(r.height()),
                                   XCB_STACK_MODE_ABOVE};
        xcb_configure_window(c, m_window,
                             XCB_CONFIG_WINDOW_X | XCB_CONFIG_WINDOW_Y | XCB_CONFIG_WINDOW_WIDTH
                                 | XCB_CONFIG_WINDOW_HEIGHT | XCB_CONFIG_WINDOW_STACK_MODE,
                             values);
        xcb_map_window(c, m_window);
    }
    xcb_flush(c);
}

void NotchSensorWindow::setPointerInside(bool inside)
{
    // Grabs and ungrabs by other clients send extra crossing events while the
    // pointer stays put; only the first of them counts.
    if (inside == m_pointerInside)
        return;
    m_pointerInside = inside;
    if (inside)
        Q_EMIT entered();
    else
        Q_EMIT exited();
}

bool NotchSensorWindow::nativeEventFilter(const QByteArray &eventType, void *message, qintptr *)
{
    if (eventType != "xcb_generic_event_t")
        return false;
    const auto *event = static_cast<const xcb_generic_event_t *>(message);
    switch (event->response_type & 0x7f) {
    case XCB_ENTER_NOTIFY:
    case XCB_LEAVE_NOTIFY: {
        const auto *crossing = static_cast<const xcb_enter_notify_event_t *>(message);
        if (crossing->event != m_window)
            return false;
        setPointerInside((event->response_type & 0x7f) == XCB_ENTER_NOTIFY);
        return true;
    }
    case XCB_BUTTON_PRESS: {
        const auto *press = static_cast<const xcb_button_press_event_t *>(message);
        if (press->event != m_window)
            return false;
        // Buttons 4 to 7 are wheel steps, not presses.
        if (press->detail < 4 || press->detail > 7)
            Q_EMIT pressed();
        return true;
    }
    default:
        return false;
    }
}
