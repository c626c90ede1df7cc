// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Marlowick developers

#include "platform/x11_push_barrier.h"

#include "platform/x11_connection.h"

#include <QSocketNotifier>

#include <xcb/xcb.h>
#include <xcb/xfixes.h>
#include <xcb/xinput.h>

#include <cstdlib>
#include <memory>

namespace {

template<typename T>
std::unique_ptr<T, decltype(&std::free)> owned(T *reply)
{
    return std::unique_ptr<T, decltype(&std::free)>(reply, &std::free);
}

} // namespace

X11PushBarrier::X11PushBarrier(qreal distance, QObject *parent)
    : QObject(parent)
    , m_distance(distance)
{
    // The display Qt opened, and its screen's root window.
    if (!X11Connection::connection())
        return;
    xcb_connection_t *c = xcb_connect(nullptr, nullptr);
    const xcb_query_extension_reply_t *xinput = xcb_get_extension_data(c, &xcb_input_id);
    const xcb_query_extension_reply_t *xfixes = xcb_get_extension_data(c, &xcb_xfixes_id);
    const auto xiVersion = owned(xinput && xinput->present
                                     ? xcb_input_xi_query_version_reply(c, xcb_input_xi_query_version(c, 2, 3), nullptr)
                                     : nullptr);
    const auto fixesVersion =
        owned(xfixes && xfixes->present ? xcb_xfixes_query_version_reply(c, xcb_xfixes_query_version(c, 5, 0), nullptr)
                                        : nullptr);
    if (xcb_connection_has_error(c) || !xiVersion || (xiVersion->major_version == 2 && xiVersion->minor_version < 3)
        || !fixesVersion || fixesVersion->major_version < 5) {
        xcb_disconnect(c);
        return;
    }
    m_connection = c;
    m_xinputOpcode = xinput->major_opcode;
    m_root = X11Connection::rootWindow();
    struct {
        xcb_input_event_mask_t header;
        uint32_t mask;
    } selection{{XCB_INPUT_DEVICE_ALL_MASTER, 1},
                uint32_t(XCB_INPUT_XI_EVENT_MASK_BARRIER_HIT | XCB_INPUT_XI_EVENT_MASK_BARRIER_LEAVE)};
    xcb_input_xi_select_events(c, m_root, 1, &selection.header);
    xcb_flush(c);
    m_notifier = new QSocketNotifier(xcb_get_file_descriptor(c), QSocketNotifier::Read, this);
    connect(m_notifier, &QSocketNotifier::activated, this, &X11PushBarrier::readEvents);
}

X11PushBarrier::~X11PushBarrier()
{
    if (m_connection)
        xcb_disconnect(m_connection); // the barrier goes with it
}

void X11PushBarrier::place(const QRect &rect)
{
    if (!m_connection)
        return;
    if (m_barrier)
        xcb_xfixes_delete_pointer_barrier(m_connection, m_barrier);
    m_barrier = 0;
    m_pushed = 0;
    if (!rect.isEmpty()) {
        // Lets the pointer down (positive y), holds it going up.
        m_barrier = xcb_generate_id(m_connection);
        xcb_xfixes_create_pointer_barrier(m_connection, m_barrier, m_root, uint16_t(rect.left()), uint16_t(rect.top()),
                                          uint16_t(rect.right() + 1), uint16_t(rect.top()),
                                          XCB_XFIXES_BARRIER_DIRECTIONS_POSITIVE_Y, 0, nullptr);
    }
    xcb_flush(m_connection);
}

void X11PushBarrier::readEvents()
{
    while (auto event = owned(xcb_poll_for_event(m_connection))) {
        const auto *generic = reinterpret_cast<const xcb_ge_generic_event_t *>(event.get());
        if ((event->response_type & 0x7f) != XCB_GE_GENERIC || generic->extension != m_xinputOpcode
            || (generic->event_type != XCB_INPUT_BARRIER_HIT && generic->event_type != XCB_INPUT_BARRIER_LEAVE))
            continue;
        const auto *hit = reinterpret_cast<const xcb_input_barrier_hit_event_t *>(event.get());
        if (hit->barrier != m_barrier)
            continue;
        // A new push starts at 0: the pointer left the barrier and came
        // back, or rested against it a while (a jump away and back, as a
        // warp makes, is no leaving for the server).
        const bool paused = hit->dtime > 500;
        if (hit->event_type == XCB_INPUT_BARRIER_LEAVE || hit->eventid != m_pushEvent || paused) {
            m_pushEvent = hit->eventid;
            m_pushed = 0;
            if (hit->event_type == XCB_INPUT_BARRIER_LEAVE)
                continue;
        }
        // How far the pointer would have gone up: dy < 0.
        const qreal dy = hit->dy.integral + hit->dy.frac / 4294967296.0;
        const qreal before = m_pushed;
        m_pushed -= qMin<qreal>(dy, 0);
        if (before < m_distance && m_pushed >= m_distance)
            Q_EMIT pushed();
        if (m_pushed >= 3 * m_distance) {
            const xcb_input_barrier_release_pointer_info_t release{hit->deviceid, {}, m_barrier, hit->eventid};
            xcb_input_xi_barrier_release_pointer(m_connection, 1, &release);
            xcb_flush(m_connection);
        }
    }
}
