// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Marlowick developers

#include "platform/x11_press_monitors.h"

#include "platform/x11_connection.h"

#include <QCoreApplication>
#include <QMouseEvent>
#include <QWindow>

#include <xcb/xinput.h>

namespace {

template<typename Handler>
bool removeById(QList<std::pair<quint64, Handler>> &list, quint64 id)
{
    return list.removeIf([id](const auto &entry) { return entry.first == id; }) > 0;
}

} // namespace

X11PressMonitors::X11PressMonitors(QObject *parent)
    : QObject(parent)
{
    if (xcb_connection_t *c = X11Connection::connection()) {
        const xcb_query_extension_reply_t *xinput = xcb_get_extension_data(c, &xcb_input_id);
        if (xinput && xinput->present)
            m_xinputOpcode = xinput->major_opcode;
    }
}

X11PressMonitors::~X11PressMonitors()
{
    if (!m_global.isEmpty())
        selectRawPresses(false);
    if (!m_local.isEmpty())
        QCoreApplication::instance()->removeEventFilter(this);
}

PressMonitor X11PressMonitors::addGlobalPressMonitor(GlobalHandler handler)
{
    if (m_global.isEmpty() && !selectRawPresses(true))
        return {};
    m_global.append({++m_lastId, std::move(handler)});
    return PressMonitor{m_lastId};
}

PressMonitor X11PressMonitors::addLocalPressMonitor(LocalHandler handler)
{
    if (m_local.isEmpty())
        QCoreApplication::instance()->installEventFilter(this);
    m_local.append({++m_lastId, std::move(handler)});
    return PressMonitor{m_lastId};
}

void X11PressMonitors::removeMonitor(PressMonitor monitor)
{
    if (!monitor.isValid())
        return;
    if (removeById(m_global, monitor.id)) {
        if (m_global.isEmpty())
            selectRawPresses(false);
    } else if (removeById(m_local, monitor.id)) {
        if (m_local.isEmpty())
            QCoreApplication::instance()->removeEventFilter(this);
    }
}

bool X11PressMonitors::selectRawPresses(bool on)
{
    xcb_connection_t *c = X11Connection::connection();
    const xcb_window_t root = X11Connection::rootWindow();
    if (!c || root == XCB_NONE || m_xinputOpcode == 0)
        return false;
    // Raw events reach the root window for presses in every client, grabs
    // included. Selected for the master devices only, so that one press is
    // one event (the slave device would report it again) and so that Qt's
    // own selection for all devices on the root window stays untouched.
    struct {
        xcb_input_event_mask_t header;
        uint32_t mask;
    } selection{{XCB_INPUT_DEVICE_ALL_MASTER, 1}, on ? uint32_t(XCB_INPUT_XI_EVENT_MASK_RAW_BUTTON_PRESS) : 0u};
    xcb_input_xi_select_events(c, root, 1, &selection.header);
    xcb_flush(c);
    if (on)
        QCoreApplication::instance()->installNativeEventFilter(this);
    else
        QCoreApplication::instance()->removeNativeEventFilter(this);
    return true;
}

bool X11PressMonitors::nativeEventFilter(const QByteArray &eventType, void *message, qintptr *)
{
    if (eventType != "xcb_generic_event_t")
        return false;
    const auto *event = static_cast<const xcb_generic_event_t *>(message);
    if ((event->response_type & 0x7f) != XCB_GE_GENERIC)
        return false;
    const auto *generic = static_cast<const xcb_ge_generic_event_t *>(message);
    if (generic->extension != m_xinputOpcode || generic->event_type != XCB_INPUT_RAW_BUTTON_PRESS)
        return false;
    const auto *press = static_cast<const xcb_input_raw_button_press_event_t *>(message);
    if (countsAsPress(press->detail)) {
        // A handler may remove monitors (closing the panel does): iterate a copy.
        const auto handlers = m_global;
        for (const auto &[id, handler] : handlers)
            handler();
    }
    // Qt selected no raw events and has no use for them.
    return true;
}

bool X11PressMonitors::eventFilter(QObject *watched, QEvent *event)
{
    // A press reaches its window first; Qt then passes it on to the widget or
    // item inside, which would make it count twice. Windows only.
    if (event->type() == QEvent::MouseButtonPress && watched->isWindowType()
        && countsAsPress(static_cast<QMouseEvent *>(event)->button())) {
        auto *window = static_cast<QWindow *>(watched);
        const auto handlers = m_local;
        for (const auto &[id, handler] : handlers)
            handler(window);
    }
    return false;
}
