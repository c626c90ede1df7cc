// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Marlowick developers

#include "notch/notch_sensor_window.h"

#include "platform/press_monitors.h"
#include "platform/x11_connection.h"
#include "platform/x11_push_barrier.h"
#include "views/panel_metrics.h"

#include <QCoreApplication>

#include <algorithm>
#include <cstdlib>
#include <memory>

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
        // Motion inside a window a pixel high: only a pointer sliding along
        // the edge reports it.
        XCB_EVENT_MASK_ENTER_WINDOW | XCB_EVENT_MASK_LEAVE_WINDOW | XCB_EVENT_MASK_BUTTON_PRESS
            | XCB_EVENT_MASK_POINTER_MOTION,
    };
    xcb_create_window(c, XCB_COPY_FROM_PARENT, m_window, root, int16_t(rect.x()), int16_t(rect.y()),
                      uint16_t(qMax(1, rect.width())), uint16_t(qMax(1, rect.height())), 0, XCB_WINDOW_CLASS_INPUT_ONLY,
                      XCB_COPY_FROM_PARENT, XCB_CW_OVERRIDE_REDIRECT | XCB_CW_EVENT_MASK, values);
    static const char name[] = "Marlowick notch sensor";
    xcb_change_property(c, XCB_PROP_MODE_REPLACE, m_window, XCB_ATOM_WM_NAME, XCB_ATOM_STRING, 8, sizeof(name) - 1,
                        name);
    m_barrier = new X11PushBarrier(PanelMetrics::pushDistance(), this);
    connect(m_barrier, &X11PushBarrier::pushed, this, [this] {
        if (!fullscreenWindowIsActive())
            Q_EMIT pushed();
    });
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

void NotchSensorWindow::reposition(const QRect &rect, bool overTopPanel)
{
    m_rect = rect;
    m_overTopPanel = overTopPanel;
    show();
}

void NotchSensorWindow::show()
{
    xcb_connection_t *c = X11Connection::connection();
    if (!c || !m_window)
        return;
    // X has no windows of zero size; such a sensor is simply not there.
    if (m_rect.isEmpty() || (m_overTopPanel && m_barrier->isAvailable())) {
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
    m_barrier->place(m_rect);
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

bool NotchSensorWindow::fullscreenWindowIsActive() const
{
    // Asked when the pointer comes, which is seldom: the window manager's
    // active window, if it is fullscreen and lies over the strip.
    xcb_connection_t *c = X11Connection::connection();
    const auto reply = [c](xcb_window_t window, xcb_atom_t property, xcb_atom_t type) {
        return std::unique_ptr<xcb_get_property_reply_t, decltype(&std::free)>(
            xcb_get_property_reply(c, xcb_get_property(c, 0, window, property, type, 0, 64), nullptr), &std::free);
    };
    const auto active = reply(X11Connection::rootWindow(), X11Connection::atom("_NET_ACTIVE_WINDOW"), XCB_ATOM_WINDOW);
    if (!active || active->format != 32 || xcb_get_property_value_length(active.get()) < 4)
        return false;
    const xcb_window_t window = *static_cast<const xcb_window_t *>(xcb_get_property_value(active.get()));
    const auto state = reply(window, X11Connection::atom("_NET_WM_STATE"), XCB_ATOM_ATOM);
    if (!state || state->format != 32)
        return false;
    const auto *atoms = static_cast<const xcb_atom_t *>(xcb_get_property_value(state.get()));
    const xcb_atom_t fullscreen = X11Connection::atom("_NET_WM_STATE_FULLSCREEN");
    if (std::find(atoms, atoms + xcb_get_property_value_length(state.get()) / 4, fullscreen)
        == atoms + xcb_get_property_value_length(state.get()) / 4)
        return false;
    std::unique_ptr<xcb_get_geometry_reply_t, decltype(&std::free)> geometry(
        xcb_get_geometry_reply(c, xcb_get_geometry(c, window), nullptr), &std::free);
    std::unique_ptr<xcb_translate_coordinates_reply_t, decltype(&std::free)> origin(
        xcb_translate_coordinates_reply(c, xcb_translate_coordinates(c, window, X11Connection::rootWindow(), 0, 0),
                                        nullptr),
        &std::free);
    return geometry && origin
        && QRect(origin->dst_x, origin->dst_y, geometry->width, geometry->height).intersects(m_rect);
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
        const bool entering = (event->response_type & 0x7f) == XCB_ENTER_NOTIFY;
        // A drag that ends here comes in with a button held or as its grab
        // is let go (a grab by another program is a leaving, whatever
        // comes after it).
        const uint16_t buttons = XCB_BUTTON_MASK_1 | XCB_BUTTON_MASK_2 | XCB_BUTTON_MASK_3;
        if (entering && (crossing->mode != XCB_NOTIFY_MODE_NORMAL || (crossing->state & buttons)))
            return true;
        setPointerInside(entering && !fullscreenWindowIsActive());
        return true;
    }
    case XCB_MOTION_NOTIFY: {
        const auto *motion = static_cast<const xcb_motion_notify_event_t *>(message);
        if (motion->event != m_window)
            return false;
        if (m_pointerInside)
            Q_EMIT moved();
        return true;
    }
    case XCB_BUTTON_PRESS: {
        const auto *press = static_cast<const xcb_button_press_event_t *>(message);
        if (press->event != m_window)
            return false;
        if (countsAsPress(quint32(press->detail)) && !fullscreenWindowIsActive())
            Q_EMIT pressed();
        return true;
    }
    default:
        return false;
    }
}
