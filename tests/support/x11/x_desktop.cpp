// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Marlowick developers

#include "support/x11/x_desktop.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QTest>
#include <QTransform>

#include <xcb/shape.h>
#include <xcb/xcb.h>

#include <algorithm>
#include <array>
#include <cstdlib>

using namespace Qt::StringLiterals;

namespace {

constexpr int timeout = 20000;
constexpr int trayIconSize = 24;

struct Free {
    void operator()(void *p) const { std::free(p); }
};
template<typename T>
using Reply = std::unique_ptr<T, Free>;

} // namespace

XDesktop::XDesktop()
    : m_display(qEnvironmentVariable("DISPLAY"))
    , m_primary(0, 0, 1920, 1080)
{
    connectToServer();
}

XDesktop::XDesktop(const DesktopKind &kind)
    : m_kind(kind)
{
    // The other monitor is smaller: where the strip lies tells which one
    // the program chose.
    using Monitors = DesktopKind::Monitors;
    const bool two = kind.monitors != Monitors::One;
    const QTransform scale = QTransform::fromScale(kind.scale, kind.scale);
    m_primary = scale.mapRect(QRect(0, kind.monitors == Monitors::PrimaryBelow ? 900 : 0, 1920, 1080));
    m_secondary = !two                            ? QRect()
        : kind.monitors == Monitors::PrimaryBelow ? scale.mapRect(QRect(0, 0, 1600, 900))
                                                  : scale.mapRect(QRect(1920, 0, 1600, 900));
    if (kind.monitors == Monitors::PrimaryRight)
        std::swap(m_primary, m_secondary);
    // Openbox may drop a window mapped while it starts: the dock comes
    // first, as a session's panel starts early; tint2 waits for a window
    // manager.
    using TopPanel = DesktopKind::TopPanel;
    (void)(startServer((m_primary | m_secondary).size())
           && (kind.scale != 2 || run(u"xrdb"_s, {u"-merge"_s}, "Xft.dpi: 192\n") || fail(u"xrdb failed"_s))
           && (!two || setUpMonitors())
           && (!kind.compositing
               || startAndWait(m_compositor, u"xcompmgr"_s, {}, environment(),
                               [this] { return selectionOwner("_NET_WM_CM_S0") != 0; }))
           && (kind.topPanel != TopPanel::Dock || setTopPanel(true))
           && (kind.windowManager == DesktopKind::WindowManager::None || startWindowManager())
           && (kind.topPanel != TopPanel::Tint2 || startTint2()));
}

XDesktop::~XDesktop()
{
    for (QProcess *process : {&m_tint2, &m_compositor, &m_windowManager, &m_sessionBus, &m_server}) {
        process->kill();
        process->waitForFinished();
    }
    if (m_connection)
        xcb_disconnect(m_connection);
}

bool XDesktop::startWindowManager()
{
    using WindowManager = DesktopKind::WindowManager;
    // Without a wallpaper: fluxbox's own would be set by a program that
    // reports its failure on a bare server in a window of its own.
    QDir(m_home.path()).mkpath(u".fluxbox"_s);
    QFile overlay(m_home.filePath(u".fluxbox/overlay"_s));
    if (!overlay.open(QIODevice::WriteOnly) || overlay.write("background: none\n") < 0)
        return fail(u"cannot write the fluxbox style"_s);
    overlay.close();
    const QString program = m_kind.windowManager == WindowManager::Openbox ? u"openbox"_s
        : m_kind.windowManager == WindowManager::Icewm                     ? u"icewm"_s
        : m_kind.windowManager == WindowManager::Fluxbox                   ? u"fluxbox"_s
                                                                           : u"xfwm4"_s;
    // xfwm4 reads its settings from xfconf, which its session bus starts
    // on demand; it composites unless told not to (xcompmgr does here).
    QProcessEnvironment environment = this->environment();
    QStringList arguments;
    if (m_kind.windowManager == WindowManager::Xfwm4) {
        const QString bus = startSessionBus();
        if (bus.isEmpty())
            return false;
        environment.insert(u"DBUS_SESSION_BUS_ADDRESS"_s, bus);
        environment.insert(u"NO_AT_BRIDGE"_s, u"1"_s);
        arguments = QStringList{u"--compositor=off"_s};
    }
    // Each says it is there, and has laid out the work area, when it is ready.
    return startAndWait(m_windowManager, program, arguments, environment, [this] {
        return property(m_root, atom("_NET_SUPPORTING_WM_CHECK"), XCB_ATOM_WINDOW).size() == 4
            && property(m_root, atom("_NET_WORKAREA"), XCB_ATOM_CARDINAL).size() >= 16;
    });
}

QString XDesktop::startSessionBus()
{
    // A private bus, whose services (xfconfd) keep their settings in the
    // desktop's home; its address.
    QProcessEnvironment environment = this->environment();
    environment.insert(u"XDG_CONFIG_HOME"_s, m_home.filePath(u".config"_s));
    environment.insert(u"XDG_DATA_HOME"_s, m_home.filePath(u".local/share"_s));
    m_sessionBus.setProcessEnvironment(environment);
    m_sessionBus.start(u"dbus-daemon"_s, {u"--session"_s, u"--nofork"_s, u"--print-address=1"_s});
    if (!QTest::qWaitFor([this] { return m_sessionBus.canReadLine() || m_sessionBus.state() == QProcess::NotRunning; },
                         timeout)
        || !m_sessionBus.canReadLine()) {
        fail(u"dbus-daemon did not start"_s);
        return {};
    }
    return QString::fromLatin1(m_sessionBus.readLine().trimmed());
}

bool XDesktop::startTint2()
{
    // Along the whole top of the primary monitor: a clock in the middle
    // between two stretches of free space, wide enough for a hand to hit;
    // its click command counts the clicks it gets. tint2 finds the primary
    // monitor through RandR's outputs, and Xvfb's one output spans both
    // monitors: the panel names its monitor by number instead, as tint2
    // orders them, left to right, then top to bottom.
    const bool primaryFirst = m_secondary.isNull() || m_primary.x() < m_secondary.x()
        || (m_primary.x() == m_secondary.x() && m_primary.y() < m_secondary.y());
    const auto scaled = [this](int length) { return qRound(length * m_kind.scale); };
    m_clockClicks = m_home.filePath(u"clock-clicks"_s);
    const QString config =
        QStringLiteral("rounded = 0\nborder_width = 0\nbackground_color = #1d2733 100\n"
                       "border_color = #000000 0\n"
                       "panel_items = FCF\npanel_monitor = %1\npanel_position = top center horizontal\n"
                       "panel_size = 100% %2\npanel_margin = 0 0\npanel_padding = 0 0 0\n"
                       "panel_background_id = 1\npanel_layer = top\npanel_dock = 0\nwm_menu = 0\n"
                       "strut_policy = follow_size\nautohide = 0\n"
                       "time1_format = %H:%M\ntime1_font = DejaVu Sans Bold %3\n"
                       "clock_font_color = #eeeeee 100\nclock_padding = %4 0\nclock_tooltip =\n"
                       "clock_lclick_command = echo >> '%5'\n")
            .arg(primaryFirst ? 1 : 2)
            .arg(scaled(32))
            .arg(scaled(11))
            .arg(scaled(40))
            .arg(m_clockClicks);
    QFile rc(m_home.filePath(u"tint2rc"_s));
    if (!rc.open(QIODevice::WriteOnly) || rc.write(config.toUtf8()) < 0)
        return fail(u"cannot write the tint2 configuration"_s);
    rc.close();
    // tint2 shows itself once a window manager has said how many desktops
    // there are: without one, the session says so, until tint2 has heard.
    return startAndWait(m_tint2, u"tint2"_s, {u"-c"_s, rc.fileName()}, environment(), [this] {
        if (m_kind.windowManager == DesktopKind::WindowManager::None) {
            const uint32_t one = 1;
            xcb_change_property(m_connection, XCB_PROP_MODE_REPLACE, m_root, atom("_NET_NUMBER_OF_DESKTOPS"),
                                XCB_ATOM_CARDINAL, 32, 1, &one);
            xcb_flush(m_connection);
        }
        return hasMappedStrutWindow(m_root, "tint2", 3);
    });
}

bool XDesktop::hasMappedStrutWindow(quint32 parent, const QByteArray &name, int depth) const
{
    // Window managers put it into frames, icewm's two deep.
    xcb_connection_t *c = m_connection;
    Reply<xcb_query_tree_reply_t> tree(xcb_query_tree_reply(c, xcb_query_tree(c, parent), nullptr));
    for (int i = 0; tree && i < xcb_query_tree_children_length(tree.get()); ++i) {
        const xcb_window_t window = xcb_query_tree_children(tree.get())[i];
        if (property(window, XCB_ATOM_WM_NAME, XCB_GET_PROPERTY_TYPE_ANY) == name)
            return isMapped(window) && property(window, atom("_NET_WM_STRUT_PARTIAL"), XCB_ATOM_CARDINAL).size() == 48;
        if (depth > 1 && hasMappedStrutWindow(window, name, depth - 1))
            return true;
    }
    return false;
}

int XDesktop::topPanelClicks()
{
    if (m_kind.topPanel != DesktopKind::TopPanel::Tint2)
        return pressesSeen(m_dock);
    QFile clicks(m_clockClicks);
    return clicks.open(QIODevice::ReadOnly) ? int(clicks.readAll().count('\n')) : 0;
}

bool XDesktop::fail(const QString &problem)
{
    m_problem = problem;
    return false;
}

bool XDesktop::startServer(const QSize &size)
{
    // The server picks a free display and names it on descriptor 3.
    const QString displayFile = m_home.filePath(u"display"_s);
    m_server.start(u"bash"_s,
                   {u"-c"_s,
                    u"exec Xvfb -displayfd 3 -screen 0 %1x%2x24 -nolisten tcp -noreset 3>\"$0\""_s.arg(size.width())
                        .arg(size.height()),
                    displayFile});
    QFile file(displayFile);
    if (!QTest::qWaitFor([&] { return file.size() > 0 || m_server.state() == QProcess::NotRunning; }, timeout)
        || !file.open(QIODevice::ReadOnly))
        return fail(u"Xvfb did not start"_s);
    m_display = u":"_s + QString::fromLatin1(file.readAll().trimmed());
    return connectToServer();
}

bool XDesktop::connectToServer()
{
    m_connection = xcb_connect(m_display.toLatin1().constData(), nullptr);
    if (xcb_connection_has_error(m_connection))
        return fail(u"cannot connect to \"%1\""_s.arg(m_display));
    m_root = xcb_setup_roots_iterator(xcb_get_setup(m_connection)).data->root;
    return true;
}

bool XDesktop::startAndWait(QProcess &process, const QString &program, const QStringList &arguments,
                            const QProcessEnvironment &environment, const std::function<bool()> &ready)
{
    process.setProcessEnvironment(environment);
    process.start(program, arguments);
    if (!QTest::qWaitFor([&] { return ready() || process.state() == QProcess::NotRunning; }, timeout)
        || process.state() == QProcess::NotRunning)
        return fail(program + u" did not start: "_s
                    + QString::fromLocal8Bit(process.readAllStandardError().right(600)));
    return true;
}

bool XDesktop::swapPrimaryMonitor()
{
    std::swap(m_primary, m_secondary);
    return setUpMonitors();
}

bool XDesktop::setUpMonitors()
{
    // RandR monitors on Xvfb's one output, which the primary one holds. A
    // monitor is replaced by removing it first (at the start there are none).
    for (const QString &name : {u"FIRST"_s, u"SECOND"_s})
        run(u"xrandr"_s, {u"--delmonitor"_s, name});
    const auto monitor = [this](const QRect &r) {
        return run(u"xrandr"_s,
                   {u"--setmonitor"_s, r.topLeft().isNull() ? u"FIRST"_s : u"SECOND"_s,
                    u"%1/%2x%3/%4+%5+%6"_s.arg(r.width())
                        .arg(r.width() / 4)
                        .arg(r.height())
                        .arg(r.height() / 4)
                        .arg(r.x())
                        .arg(r.y()),
                    r == m_primary ? u"screen"_s : u"none"_s});
    };
    return (run(u"xrandr"_s, {u"--output"_s, u"screen"_s, u"--primary"_s}) && monitor(m_secondary)
            && monitor(m_primary))
        || fail(u"xrandr failed"_s);
}

bool XDesktop::setTopPanel(bool shown)
{
    xcb_connection_t *c = m_connection;
    if (!m_dock) {
        const int height = qRound(32 * m_kind.scale);
        m_dock = xcb_generate_id(c);
        const xcb_screen_t *screen = xcb_setup_roots_iterator(xcb_get_setup(c)).data;
        xcb_create_window(c, XCB_COPY_FROM_PARENT, m_dock, m_root, int16_t(m_primary.x()), int16_t(m_primary.y()),
                          uint16_t(m_primary.width()), uint16_t(height), 0, XCB_WINDOW_CLASS_INPUT_OUTPUT,
                          screen->root_visual, XCB_CW_BACK_PIXEL | XCB_CW_EVENT_MASK,
                          std::array<uint32_t, 2>{screen->white_pixel, XCB_EVENT_MASK_BUTTON_PRESS}.data());
        const auto set = [&](const char *name, xcb_atom_t type, std::initializer_list<uint32_t> values) {
            xcb_change_property(c, XCB_PROP_MODE_REPLACE, m_dock, atom(name), type, 32, uint32_t(values.size()),
                                values.begin());
        };
        const auto left = uint32_t(m_primary.x());
        const auto top = uint32_t(m_primary.y());
        set("_NET_WM_WINDOW_TYPE", XCB_ATOM_ATOM, {atom("_NET_WM_WINDOW_TYPE_DOCK")});
        // Struts count from the top of the whole screen.
        set("_NET_WM_STRUT_PARTIAL", XCB_ATOM_CARDINAL,
            {0, 0, top + uint32_t(height), 0, 0, 0, 0, 0, left, left + m_primary.width() - 1, 0, 0});
        // Where it asked to be, not where a window manager would place it.
        set("WM_NORMAL_HINTS", XCB_ATOM_WM_SIZE_HINTS,
            {1 | 4, left, top, uint32_t(m_primary.width()), uint32_t(height), 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0});
    }
    if (shown)
        xcb_map_window(c, m_dock);
    else
        xcb_unmap_window(c, m_dock);
    return waitUntilMapped(m_dock, shown) || fail(u"the top panel did not follow"_s);
}

quint32 XDesktop::createEditor(const QRect &rect)
{
    xcb_connection_t *c = m_connection;
    const xcb_window_t window = xcb_generate_id(c);
    const xcb_screen_t *screen = xcb_setup_roots_iterator(xcb_get_setup(c)).data;
    const uint32_t events = XCB_EVENT_MASK_KEY_PRESS;
    xcb_create_window(c, XCB_COPY_FROM_PARENT, window, m_root, int16_t(rect.x()), int16_t(rect.y()),
                      uint16_t(rect.width()), uint16_t(rect.height()), 0, XCB_WINDOW_CLASS_INPUT_OUTPUT,
                      screen->root_visual, XCB_CW_EVENT_MASK, &events);
    static const char name[] = "Editor";
    xcb_change_property(c, XCB_PROP_MODE_REPLACE, window, XCB_ATOM_WM_NAME, XCB_ATOM_STRING, 8, sizeof(name) - 1, name);
    // It takes the keyboard when given it (the input hint), and is placed
    // where it asks.
    const uint32_t hints[] = {1, 1, 0, 0, 0, 0, 0, 0, 0};
    xcb_change_property(c, XCB_PROP_MODE_REPLACE, window, XCB_ATOM_WM_HINTS, XCB_ATOM_WM_HINTS, 32, 9, hints);
    const uint32_t sizeHints[18] = {1 | 2, uint32_t(rect.x()), uint32_t(rect.y()), uint32_t(rect.width()),
                                    uint32_t(rect.height())};
    xcb_change_property(c, XCB_PROP_MODE_REPLACE, window, XCB_ATOM_WM_NORMAL_HINTS, XCB_ATOM_WM_SIZE_HINTS, 32, 18,
                        sizeHints);
    // Asked again while a window manager still starting up drops the request.
    QDeadlineTimer deadline(timeout);
    while (!deadline.hasExpired()) {
        xcb_map_window(c, window);
        xcb_flush(c);
        if (QTest::qWaitFor([&] { return isMapped(window); }, 1000))
            return window;
    }
    return XCB_NONE;
}

bool XDesktop::activate(quint32 window)
{
    if (m_kind.windowManager == DesktopKind::WindowManager::None)
        return giveKeyboardTo(window);
    // Source 2: a pager, which window managers obey without question; asked
    // again while one still starting up has not heard.
    xcb_client_message_event_t message{XCB_CLIENT_MESSAGE, 32, 0, window, atom("_NET_ACTIVE_WINDOW"), {}};
    message.data.data32[0] = 2;
    const auto active = [&] {
        const QByteArray value = property(m_root, atom("_NET_ACTIVE_WINDOW"), XCB_ATOM_WINDOW);
        // The active window comes first (xfwm4's value is longer).
        return inputFocus() == window && value.size() >= 4
            && *reinterpret_cast<const quint32 *>(value.data()) == window;
    };
    QDeadlineTimer deadline(timeout);
    while (!deadline.hasExpired()) {
        xcb_send_event(m_connection, 0, m_root,
                       XCB_EVENT_MASK_SUBSTRUCTURE_REDIRECT | XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY,
                       reinterpret_cast<const char *>(&message));
        xcb_flush(m_connection);
        if (QTest::qWaitFor(active, 1000))
            return true;
    }
    return false;
}

bool XDesktop::setFullscreen(quint32 window)
{
    xcb_client_message_event_t message{XCB_CLIENT_MESSAGE, 32, 0, window, atom("_NET_WM_STATE"), {}};
    message.data.data32[0] = 1; // add
    message.data.data32[1] = atom("_NET_WM_STATE_FULLSCREEN");
    message.data.data32[3] = 2; // a pager
    xcb_send_event(m_connection, 0, m_root, XCB_EVENT_MASK_SUBSTRUCTURE_REDIRECT | XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY,
                   reinterpret_cast<const char *>(&message));
    xcb_flush(m_connection);
    const auto fullscreen = atom("_NET_WM_STATE_FULLSCREEN");
    return QTest::qWaitFor(
        [&] {
            const QByteArray state = property(window, atom("_NET_WM_STATE"), XCB_ATOM_ATOM);
            const auto *atoms = reinterpret_cast<const quint32 *>(state.constData());
            return std::find(atoms, atoms + state.size() / 4, fullscreen) != atoms + state.size() / 4;
        },
        timeout);
}

bool XDesktop::startTray()
{
    // In the top panel, whose right end holds the icons.
    xcb_connection_t *c = m_connection;
    if (!m_dock)
        return fail(u"a tray needs a top panel"_s);
    const uint32_t events = XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY;
    xcb_change_window_attributes(c, m_dock, XCB_CW_EVENT_MASK, &events);
    // The freedesktop.org system tray: own the selection, tell the clients.
    const xcb_atom_t selection = atom("_NET_SYSTEM_TRAY_S0");
    xcb_set_selection_owner(c, m_dock, selection, XCB_CURRENT_TIME);
    xcb_client_message_event_t manager{XCB_CLIENT_MESSAGE, 32, 0, m_root, atom("MANAGER"), {}};
    manager.data.data32[1] = selection;
    manager.data.data32[2] = m_dock;
    xcb_send_event(c, 0, m_root, XCB_EVENT_MASK_STRUCTURE_NOTIFY, reinterpret_cast<const char *>(&manager));
    xcb_flush(c);
    return selectionOwner("_NET_SYSTEM_TRAY_S0") == m_dock;
}

QList<QPoint> XDesktop::trayIcons()
{
    handleEvents();
    QList<QPoint> centres;
    for (int n = 0; n < m_trayIcons; ++n)
        centres.append(m_primary.topLeft() + QPoint(m_primary.width() - 200 + n * trayIconSize + 12, 4 + 12));
    return centres;
}

void XDesktop::handleEvents()
{
    while (Reply<xcb_generic_event_t> event{xcb_poll_for_event(m_connection)}) {
        const auto type = event->response_type & 0x7f;
        if (type == XCB_BUTTON_PRESS) // only the press recorders ask for them
            ++m_presses[reinterpret_cast<const xcb_button_press_event_t *>(event.get())->event];
        const auto *message = reinterpret_cast<const xcb_client_message_event_t *>(event.get());
        if (type == XCB_CLIENT_MESSAGE && message->type == atom("_NET_SYSTEM_TRAY_OPCODE")
            && message->data.data32[1] == 0 /* dock request */) {
            const xcb_window_t icon = message->data.data32[2];
            const auto x = int16_t(m_primary.width() - 200 + m_trayIcons++ * trayIconSize);
            xcb_reparent_window(m_connection, icon, m_dock, x, 4);
            const uint32_t size[] = {trayIconSize, trayIconSize};
            xcb_configure_window(m_connection, icon, XCB_CONFIG_WINDOW_WIDTH | XCB_CONFIG_WINDOW_HEIGHT, size);
            xcb_map_window(m_connection, icon);
            xcb_flush(m_connection);
        }
    }
}

QProcessEnvironment XDesktop::environment() const
{
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(u"DISPLAY"_s, m_display);
    for (const char *variable : {"QT_QPA_PLATFORM", "QT_SCALE_FACTOR", "QT_SCREEN_SCALE_FACTORS", "QT_QUICK_BACKEND",
                                 "QMLSCENE_DEVICE", "QSG_RHI_BACKEND"})
        environment.remove(QString::fromLatin1(variable));
    environment.insert(u"HOME"_s, m_home.path());
    if (m_kind.scale != 1 && m_kind.scale != 2)
        environment.insert(u"QT_SCALE_FACTOR"_s, QString::number(m_kind.scale));
    return environment;
}

bool XDesktop::run(const QString &program, const QStringList &arguments, const QByteArray &input) const
{
    QProcess process;
    process.setProcessEnvironment(environment());
    process.start(program, arguments);
    process.write(input);
    process.closeWriteChannel();
    if (!process.waitForFinished(timeout))
        process.kill();
    return process.exitStatus() == QProcess::NormalExit && process.exitCode() == 0;
}

bool XDesktop::xdotool(const QByteArrayList &arguments) const
{
    return run(u"xdotool"_s, QString::fromUtf8(arguments.join('\n')).split(u'\n'));
}

quint32 XDesktop::atom(const char *name) const
{
    Reply<xcb_intern_atom_reply_t> reply(
        xcb_intern_atom_reply(m_connection, xcb_intern_atom(m_connection, 0, uint16_t(qstrlen(name)), name), nullptr));
    return reply ? reply->atom : quint32(XCB_ATOM_NONE);
}

quint32 XDesktop::selectionOwner(const char *selection) const
{
    Reply<xcb_get_selection_owner_reply_t> reply(
        xcb_get_selection_owner_reply(m_connection, xcb_get_selection_owner(m_connection, atom(selection)), nullptr));
    return reply ? reply->owner : XCB_NONE;
}

QByteArray XDesktop::property(quint32 window, quint32 property, quint32 type) const
{
    Reply<xcb_get_property_reply_t> reply(xcb_get_property_reply(
        m_connection, xcb_get_property(m_connection, 0, window, property, type, 0, 64), nullptr));
    return reply ? QByteArray(static_cast<const char *>(xcb_get_property_value(reply.get())),
                              xcb_get_property_value_length(reply.get()))
                 : QByteArray();
}

bool XDesktop::isMapped(quint32 window) const
{
    Reply<xcb_get_window_attributes_reply_t> attributes(
        xcb_get_window_attributes_reply(m_connection, xcb_get_window_attributes(m_connection, window), nullptr));
    return attributes && attributes->map_state == XCB_MAP_STATE_VIEWABLE;
}

bool XDesktop::waitUntilMapped(quint32 window, bool mapped) const
{
    xcb_flush(m_connection);
    return QTest::qWaitFor([&] { return isMapped(window) == mapped; }, timeout);
}

QList<quint32> XDesktop::mappedWindows(const QByteArray &name, qint64 pid) const
{
    xcb_connection_t *c = m_connection;
    Reply<xcb_query_tree_reply_t> tree(xcb_query_tree_reply(c, xcb_query_tree(c, m_root), nullptr));
    QList<quint32> found;
    for (int i = 0; tree && i < xcb_query_tree_children_length(tree.get()); ++i) {
        const xcb_window_t window = xcb_query_tree_children(tree.get())[i];
        const QByteArray windowPid = property(window, atom("_NET_WM_PID"), XCB_ATOM_CARDINAL);
        if (isMapped(window)
            && (name.isEmpty() || property(window, XCB_ATOM_WM_NAME, XCB_GET_PROPERTY_TYPE_ANY) == name)
            && (pid == 0 || (windowPid.size() == 4 && *reinterpret_cast<const quint32 *>(windowPid.data()) == pid)))
            found.append(window);
    }
    return found;
}

QRect XDesktop::windowRect(quint32 window) const
{
    xcb_connection_t *c = m_connection;
    Reply<xcb_get_geometry_reply_t> geometry(xcb_get_geometry_reply(c, xcb_get_geometry(c, window), nullptr));
    Reply<xcb_translate_coordinates_reply_t> origin(
        xcb_translate_coordinates_reply(c, xcb_translate_coordinates(c, window, m_root, 0, 0), nullptr));
    return geometry && origin ? QRect(origin->dst_x, origin->dst_y, geometry->width, geometry->height) : QRect();
}

QRegion XDesktop::shape(quint32 window, ShapeKind kind) const
{
    Reply<xcb_shape_get_rectangles_reply_t> reply(xcb_shape_get_rectangles_reply(
        m_connection, xcb_shape_get_rectangles(m_connection, window, xcb_shape_kind_t(kind)), nullptr));
    QRegion region;
    for (int i = 0; reply && i < xcb_shape_get_rectangles_rectangles_length(reply.get()); ++i) {
        const xcb_rectangle_t &r = xcb_shape_get_rectangles_rectangles(reply.get())[i];
        region += QRect(r.x, r.y, r.width, r.height);
    }
    return region;
}

QPoint XDesktop::pointer() const
{
    Reply<xcb_query_pointer_reply_t> reply(
        xcb_query_pointer_reply(m_connection, xcb_query_pointer(m_connection, m_root), nullptr));
    return reply ? QPoint(reply->root_x, reply->root_y) : QPoint(-1, -1);
}

quint32 XDesktop::inputFocus() const
{
    Reply<xcb_get_input_focus_reply_t> reply(
        xcb_get_input_focus_reply(m_connection, xcb_get_input_focus(m_connection), nullptr));
    return reply ? reply->focus : quint32(XCB_NONE);
}

bool XDesktop::giveKeyboardTo(quint32 window)
{
    xcb_set_input_focus(m_connection, XCB_INPUT_FOCUS_NONE, window, XCB_CURRENT_TIME);
    xcb_flush(m_connection);
    return QTest::qWaitFor([&] { return inputFocus() == window; }, timeout);
}

quint32 XDesktop::createPressRecorder(const QRect &rect)
{
    const xcb_window_t window = xcb_generate_id(m_connection);
    const uint32_t values[] = {1, XCB_EVENT_MASK_BUTTON_PRESS};
    xcb_create_window(m_connection, XCB_COPY_FROM_PARENT, window, m_root, int16_t(rect.x()), int16_t(rect.y()),
                      uint16_t(rect.width()), uint16_t(rect.height()), 0, XCB_WINDOW_CLASS_INPUT_OUTPUT,
                      XCB_COPY_FROM_PARENT, XCB_CW_OVERRIDE_REDIRECT | XCB_CW_EVENT_MASK, values);
    xcb_map_window(m_connection, window);
    return waitUntilMapped(window) ? window : XCB_NONE;
}

int XDesktop::pressesSeen(quint32 window)
{
    handleEvents();
    return m_presses[window];
}
