// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Marlowick developers

#include "platform/x11_reservation_watcher.h"

#include "platform/x11_connection.h"

#include <QCoreApplication>

#include <algorithm>
#include <cstdlib>
#include <memory>
#include <vector>

namespace {

struct Free {
    void operator()(void *p) const { std::free(p); }
};
template<typename T>
using Reply = std::unique_ptr<T, Free>;

struct Atoms {
    xcb_atom_t workArea = X11Connection::atom("_NET_WORKAREA");
    xcb_atom_t currentDesktop = X11Connection::atom("_NET_CURRENT_DESKTOP");
    xcb_atom_t clientList = X11Connection::atom("_NET_CLIENT_LIST");
    xcb_atom_t strutPartial = X11Connection::atom("_NET_WM_STRUT_PARTIAL");
    xcb_atom_t strut = X11Connection::atom("_NET_WM_STRUT");
};

const Atoms &atoms()
{
    static const Atoms a;
    return a;
}

Reply<xcb_get_property_reply_t> cardinals(xcb_connection_t *c, xcb_window_t window, xcb_atom_t property, uint32_t count,
                                          xcb_atom_t type = XCB_ATOM_CARDINAL)
{
    return Reply<xcb_get_property_reply_t>(
        xcb_get_property_reply(c, xcb_get_property(c, 0, window, property, type, 0, count), nullptr));
}

// The values of a 32-bit property, or none when it is missing or malformed.
std::vector<uint32_t> values(const xcb_get_property_reply_t *reply)
{
    if (!reply || reply->format != 32)
        return {};
    const auto *data = static_cast<const uint32_t *>(xcb_get_property_value(reply));
    return std::vector<uint32_t>(data, data + xcb_get_property_value_length(reply) / 4);
}

std::optional<QRect> readWorkArea(xcb_connection_t *c, xcb_window_t root)
{
    // Four numbers per virtual desktop; the current desktop's count.
    const auto desktop = values(cardinals(c, root, atoms().currentDesktop, 1).get());
    const auto area = values(cardinals(c, root, atoms().workArea, 4096).get());
    size_t index = desktop.empty() ? 0 : desktop.front();
    if ((index + 1) * 4 > area.size())
        index = 0;
    if (area.size() < 4)
        return std::nullopt;
    const auto at = [&](size_t i) { return int(qMin<uint32_t>(area[index * 4 + i], 0x7fffffff)); };
    return QRect(at(0), at(1), at(2), at(3));
}

// The top strut a window announces, if any: _NET_WM_STRUT_PARTIAL, else
// _NET_WM_STRUT (which spans the whole width).
std::optional<DesktopReservations::TopStrut> topStrut(const std::vector<uint32_t> &partial,
                                                      const std::vector<uint32_t> &plain)
{
    const auto clamp = [](uint32_t v) { return int(qMin<uint32_t>(v, 0x7fffffff)); };
    if (partial.size() >= 12) {
        if (partial[2] == 0)
            return std::nullopt;
        return DesktopReservations::TopStrut{clamp(partial[2]), clamp(partial[8]), clamp(partial[9])};
    }
    if (plain.size() >= 4 && plain[2] != 0)
        return DesktopReservations::TopStrut{clamp(plain[2]), 0, 0x7fffffff};
    return std::nullopt;
}

} // namespace

X11ReservationWatcher::X11ReservationWatcher(QObject *parent)
    : QObject(parent)
{
    xcb_connection_t *c = X11Connection::connection();
    const xcb_window_t root = X11Connection::rootWindow();
    if (!c || root == XCB_NONE)
        return;
    // Qt selected events on the root window through the same connection;
    // its mask is kept and extended, never replaced.
    Reply<xcb_get_window_attributes_reply_t> attributes(
        xcb_get_window_attributes_reply(c, xcb_get_window_attributes(c, root), nullptr));
    const uint32_t mask = (attributes ? attributes->your_event_mask : 0) | XCB_EVENT_MASK_PROPERTY_CHANGE
        | XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY;
    xcb_change_window_attributes(c, root, XCB_CW_EVENT_MASK, &mask);
    QCoreApplication::instance()->installNativeEventFilter(this);
    read();
}

X11ReservationWatcher::~X11ReservationWatcher()
{
    if (X11Connection::connection())
        QCoreApplication::instance()->removeNativeEventFilter(this);
}

bool X11ReservationWatcher::isOwnWindow(quint32 window) const
{
    const xcb_setup_t *setup = xcb_get_setup(X11Connection::connection());
    return (window & ~setup->resource_id_mask) == setup->resource_id_base;
}

void X11ReservationWatcher::scheduleRead()
{
    // A dock coming up sets several properties and maps a window or two:
    // one read when the burst has been handled.
    if (m_readPending)
        return;
    m_readPending = true;
    QMetaObject::invokeMethod(
        this,
        [this] {
            m_readPending = false;
            read();
        },
        Qt::QueuedConnection);
}

void X11ReservationWatcher::read()
{
    xcb_connection_t *c = X11Connection::connection();
    const xcb_window_t root = X11Connection::rootWindow();
    DesktopReservations result;
    result.workArea = readWorkArea(c, root);

    // Managed windows are inside the window manager's frames; windows
    // nobody manages are the root's children.
    QList<xcb_window_t> windows;
    for (uint32_t window : values(cardinals(c, root, atoms().clientList, 65536, XCB_ATOM_WINDOW).get()))
        windows.append(window);
    if (Reply<xcb_query_tree_reply_t> tree{xcb_query_tree_reply(c, xcb_query_tree(c, root), nullptr)}) {
        const xcb_window_t *children = xcb_query_tree_children(tree.get());
        windows.append(QList<xcb_window_t>(children, children + xcb_query_tree_children_length(tree.get())));
    }
    std::sort(windows.begin(), windows.end());
    windows.erase(std::unique(windows.begin(), windows.end()), windows.end());
    windows.removeIf([this](xcb_window_t w) { return isOwnWindow(w); });

    // All questions first, then all answers: one round trip in all.
    struct Pending {
        xcb_window_t window;
        xcb_get_window_attributes_cookie_t attributes;
        xcb_get_property_cookie_t partial;
        xcb_get_property_cookie_t plain;
    };
    std::vector<Pending> pending;
    pending.reserve(size_t(windows.size()));
    for (xcb_window_t w : std::as_const(windows)) {
        pending.push_back({w, xcb_get_window_attributes(c, w),
                           xcb_get_property(c, 0, w, atoms().strutPartial, XCB_ATOM_CARDINAL, 0, 12),
                           xcb_get_property(c, 0, w, atoms().strut, XCB_ATOM_CARDINAL, 0, 4)});
    }
    QSet<quint32> watched;
    m_strutHolders.clear();
    for (const Pending &p : pending) {
        Reply<xcb_get_window_attributes_reply_t> attributes(xcb_get_window_attributes_reply(c, p.attributes, nullptr));
        Reply<xcb_get_property_reply_t> partial(xcb_get_property_reply(c, p.partial, nullptr));
        Reply<xcb_get_property_reply_t> plain(xcb_get_property_reply(c, p.plain, nullptr));
        if (!attributes)
            continue; // gone meanwhile
        watched.insert(p.window);
        if (!m_watched.contains(p.window)) {
            // A window that goes away before this arrives makes an error
            // nobody needs to hear of.
            const uint32_t mask = attributes->your_event_mask | XCB_EVENT_MASK_PROPERTY_CHANGE;
            xcb_discard_reply(c, xcb_change_window_attributes_checked(c, p.window, XCB_CW_EVENT_MASK, &mask).sequence);
        }
        if (attributes->map_state == XCB_MAP_STATE_UNMAPPED)
            continue;
        if (const auto strut = topStrut(values(partial.get()), values(plain.get()))) {
            result.topStruts.append(*strut);
            m_strutHolders.insert(p.window);
        }
    }
    m_watched = watched;
    xcb_flush(c);

    if (result == m_reservations)
        return;
    m_reservations = result;
    Q_EMIT changed();
}

bool X11ReservationWatcher::nativeEventFilter(const QByteArray &eventType, void *message, qintptr *)
{
    if (eventType != "xcb_generic_event_t")
        return false;
    const auto *event = static_cast<const xcb_generic_event_t *>(message);
    switch (event->response_type & 0x7f) {
    case XCB_PROPERTY_NOTIFY: {
        const auto *property = static_cast<const xcb_property_notify_event_t *>(message);
        const Atoms &a = atoms();
        if (property->window == X11Connection::rootWindow()) {
            if (property->atom == a.workArea || property->atom == a.currentDesktop || property->atom == a.clientList)
                scheduleRead();
        } else if ((property->atom == a.strutPartial || property->atom == a.strut)
                   && m_watched.contains(property->window)) {
            scheduleRead();
        }
        break;
    }
    case XCB_MAP_NOTIFY: {
        // Menus and tooltips (override-redirect) come and go all the time
        // and reserve nothing; docks and the window manager's frames do not.
        const auto *map = static_cast<const xcb_map_notify_event_t *>(message);
        if (map->event == X11Connection::rootWindow() && !map->override_redirect && !isOwnWindow(map->window))
            scheduleRead();
        break;
    }
    case XCB_UNMAP_NOTIFY: {
        const auto *unmap = static_cast<const xcb_unmap_notify_event_t *>(message);
        if (m_strutHolders.contains(unmap->window))
            scheduleRead();
        break;
    }
    case XCB_DESTROY_NOTIFY: {
        const auto *destroy = static_cast<const xcb_destroy_notify_event_t *>(message);
        m_watched.remove(destroy->window);
        if (m_strutHolders.contains(destroy->window))
            scheduleRead();
        break;
    }
    default:
        break;
    }
    return false;
}
