#include "tray_host.h"

#include <QByteArray>

#include <cstdlib>
#include <xcb/xcb.h>

namespace {

xcb_atom_t atom(xcb_connection_t *c, const char *name)
{
    auto *reply = xcb_intern_atom_reply(c, xcb_intern_atom(c, 0, uint16_t(qstrlen(name)), name), nullptr);
    const xcb_atom_t result = reply ? reply->atom : xcb_atom_t(XCB_ATOM_NONE);
    std::free(reply);
    return result;
}

constexpr uint32_t requestDock = 0;

} // namespace

TrayHost::TrayHost(int screenWidth)
    : m_origin(screenWidth - 200, 4)
{
    int screenNumber = 0;
    m_connection = xcb_connect(nullptr, &screenNumber);
    if (xcb_connection_has_error(m_connection))
        return;
    xcb_screen_iterator_t it = xcb_setup_roots_iterator(xcb_get_setup(m_connection));
    for (int i = 0; i < screenNumber; ++i)
        xcb_screen_next(&it);
    const xcb_screen_t *screen = it.data;

    m_window = xcb_generate_id(m_connection);
    const uint32_t values[] = {screen->black_pixel, 1, XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY};
    xcb_create_window(m_connection, XCB_COPY_FROM_PARENT, m_window, screen->root, int16_t(m_origin.x()), 0, 200, 32,
                      0, XCB_WINDOW_CLASS_INPUT_OUTPUT, screen->root_visual,
                      XCB_CW_BACK_PIXEL | XCB_CW_OVERRIDE_REDIRECT | XCB_CW_EVENT_MASK, values);
    xcb_map_window(m_connection, m_window);

    m_opcodeAtom = atom(m_connection, "_NET_SYSTEM_TRAY_OPCODE");
    const QByteArray selectionName = "_NET_SYSTEM_TRAY_S" + QByteArray::number(screenNumber);
    const xcb_atom_t selection = atom(m_connection, selectionName.constData());
    xcb_set_selection_owner(m_connection, m_window, selection, XCB_CURRENT_TIME);

    // Tells clients already running that a tray is there.
    xcb_client_message_event_t manager = {};
    manager.response_type = XCB_CLIENT_MESSAGE;
    manager.format = 32;
    manager.window = screen->root;
    manager.type = atom(m_connection, "MANAGER");
    manager.data.data32[0] = XCB_CURRENT_TIME;
    manager.data.data32[1] = selection;
    manager.data.data32[2] = m_window;
    xcb_send_event(m_connection, 0, screen->root, XCB_EVENT_MASK_STRUCTURE_NOTIFY,
                   reinterpret_cast<const char *>(&manager));
    xcb_flush(m_connection);

    m_notifier = std::make_unique<QSocketNotifier>(xcb_get_file_descriptor(m_connection), QSocketNotifier::Read);
    connect(m_notifier.get(), &QSocketNotifier::activated, this, &TrayHost::handleEvents);
}

TrayHost::~TrayHost()
{
    m_notifier.reset();
    if (m_connection)
        xcb_disconnect(m_connection);
}

QPoint TrayHost::iconCentre(int n) const
{
    return m_origin + QPoint(n * iconSize + iconSize / 2, iconSize / 2);
}

void TrayHost::handleEvents()
{
    while (xcb_generic_event_t *event = xcb_poll_for_event(m_connection)) {
        if ((event->response_type & 0x7f) == XCB_CLIENT_MESSAGE) {
            const auto *message = reinterpret_cast<xcb_client_message_event_t *>(event);
            if (message->type == m_opcodeAtom && message->data.data32[1] == requestDock) {
                const xcb_window_t icon = message->data.data32[2];
                xcb_reparent_window(m_connection, icon, m_window, int16_t(m_icons * iconSize), 4);
                const uint32_t size[] = {iconSize, iconSize};
                xcb_configure_window(m_connection, icon, XCB_CONFIG_WINDOW_WIDTH | XCB_CONFIG_WINDOW_HEIGHT, size);
                xcb_map_window(m_connection, icon);
                xcb_flush(m_connection);
                ++m_icons;
            }
        }
        std::free(event);
    }
}
