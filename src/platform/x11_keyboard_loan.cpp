// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Marlowick developers

#include "platform/x11_keyboard_loan.h"

#include "platform/x11_connection.h"

#include <QCoreApplication>
#include <QWindow>

#include <xcb/xinput.h>

#include <cstdlib>
#include <cstring>
#include <memory>
#include <optional>
#include <utility>

namespace {

struct Free {
    void operator()(void *p) const { std::free(p); }
};
template<typename T>
using Reply = std::unique_ptr<T, Free>;

struct Focus {
    xcb_window_t window = XCB_NONE;
    uint8_t revertTo = XCB_INPUT_FOCUS_PARENT;
};

std::optional<Focus> inputFocus(xcb_connection_t *c)
{
    Reply<xcb_get_input_focus_reply_t> reply(xcb_get_input_focus_reply(c, xcb_get_input_focus(c), nullptr));
    if (!reply)
        return std::nullopt;
    return Focus{reply->focus, reply->revert_to};
}

bool isOwnWindow(xcb_connection_t *c, xcb_window_t window)
{
    const xcb_setup_t *setup = xcb_get_setup(c);
    return window > XCB_INPUT_FOCUS_POINTER_ROOT && (window & ~setup->resource_id_mask) == setup->resource_id_base;
}

// None, PointerRoot and the root window: the keyboard follows the pointer
// or goes nowhere, as it did before; always there to go back to.
bool isNoWindow(xcb_window_t window)
{
    return window == XCB_NONE || window == XCB_INPUT_FOCUS_POINTER_ROOT || window == X11Connection::rootWindow();
}

bool isViewable(xcb_connection_t *c, xcb_window_t window)
{
    // A window that no longer exists answers with an error, and no reply.
    Reply<xcb_get_window_attributes_reply_t> attributes(
        xcb_get_window_attributes_reply(c, xcb_get_window_attributes(c, window), nullptr));
    return attributes && attributes->map_state == XCB_MAP_STATE_VIEWABLE;
}

// The server time an event carries, or 0 for events without one.
uint32_t eventTime(xcb_connection_t *c, const xcb_generic_event_t *event)
{
    uint32_t time = 0;
    const auto *bytes = reinterpret_cast<const char *>(event);
    switch (event->response_type & 0x7f) {
    case XCB_KEY_PRESS:
    case XCB_KEY_RELEASE:
    case XCB_BUTTON_PRESS:
    case XCB_BUTTON_RELEASE:
    case XCB_MOTION_NOTIFY:
    case XCB_ENTER_NOTIFY:
    case XCB_LEAVE_NOTIFY:
        std::memcpy(&time, bytes + 4, sizeof time);
        break;
    case XCB_PROPERTY_NOTIFY:
        std::memcpy(&time, bytes + 12, sizeof time);
        break;
    case XCB_GE_GENERIC: {
        // Every XInput2 event has its time in the same place.
        static const xcb_query_extension_reply_t *xinput = xcb_get_extension_data(c, &xcb_input_id);
        const auto *generic = reinterpret_cast<const xcb_ge_generic_event_t *>(event);
        if (xinput && xinput->present && generic->extension == xinput->major_opcode)
            std::memcpy(&time, bytes + 12, sizeof time);
        break;
    }
    default:
        break;
    }
    return time;
}

} // namespace

X11KeyboardLoan &X11KeyboardLoan::shared()
{
    static X11KeyboardLoan loan;
    return loan;
}

X11KeyboardLoan::~X11KeyboardLoan()
{
    // Made on first use, after the application; gone after it.
    if (m_filterInstalled && QCoreApplication::instance())
        QCoreApplication::instance()->removeNativeEventFilter(this);
}

bool X11KeyboardLoan::take(QWindow *window)
{
    xcb_connection_t *c = X11Connection::connection();
    if (!c || !window || !window->handle())
        return false;
    if (!m_filterInstalled) {
        QCoreApplication::instance()->installNativeEventFilter(this);
        m_filterInstalled = true;
    }
    if (const auto focus = inputFocus(c); focus && !isOwnWindow(c, focus->window)) {
        m_lender = focus->window;
        m_lenderRevertTo = focus->revertTo;
        m_lent = true;
    }
    return X11Connection::setInputFocus(window);
}

void X11KeyboardLoan::giveBack(QWindow *window)
{
    xcb_connection_t *c = X11Connection::connection();
    if (!c || !m_lent || !window || !window->handle())
        return;
    const auto focus = inputFocus(c);
    // Another of the program's windows holds it now, and gives it back.
    if (focus && focus->window != xcb_window_t(window->winId()) && isOwnWindow(c, focus->window))
        return;
    m_lent = false;
    // Another program took the keyboard meanwhile (a click into a window a
    // window manager focused): it stays there.
    if (!focus || !(isOwnWindow(c, focus->window) || isNoWindow(focus->window)))
        return;
    if (!isNoWindow(m_lender) && !isViewable(c, m_lender))
        return;
    // At the time of the last event seen, so that a focus change the server
    // made after it (which this program has not seen yet) wins; should the
    // program's own taking of the keyboard be later still, at once.
    for (const xcb_timestamp_t time : {xcb_timestamp_t(m_lastEventTime), xcb_timestamp_t(XCB_CURRENT_TIME)}) {
        xcb_set_input_focus(c, m_lenderRevertTo, m_lender, time);
        const auto now = inputFocus(c);
        if (!now || !isOwnWindow(c, now->window))
            break;
    }
    xcb_flush(c);
}

bool X11KeyboardLoan::nativeEventFilter(const QByteArray &eventType, void *message, qintptr *)
{
    if (eventType != "xcb_generic_event_t")
        return false;
    if (const uint32_t time = eventTime(X11Connection::connection(), static_cast<const xcb_generic_event_t *>(message)))
        m_lastEventTime = time;
    return false;
}
