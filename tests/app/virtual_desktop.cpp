#include "virtual_desktop.h"

#include <QFile>
#include <QTest>

#include <xcb/shape.h>
#include <xcb/xcb.h>

#include <cstdlib>

using namespace Qt::StringLiterals;

namespace {

constexpr int timeout = 20000;

struct Free
{
    void operator()(void *p) const { std::free(p); }
};
template<typename T>
using Reply = std::unique_ptr<T, Free>;

// The other monitor, beside the primary one, is smaller: where the strip
// lies then tells which monitor the program chose.
constexpr QSize firstMonitor(1920, 1080);
constexpr QSize secondMonitor(1600, 900);

QSize scaled(QSize size, qreal scale)
{
    return QSize(qRound(size.width() * scale), qRound(size.height() * scale));
}

} // namespace

VirtualDesktop::VirtualDesktop(const DesktopKind &kind)
    : m_kind(kind)
{
    const QSize left = scaled(firstMonitor, kind.scale);
    const QSize right = scaled(secondMonitor, kind.scale);
    const bool two = kind.monitors != DesktopKind::Monitors::One;
    m_primary = QRect(QPoint(), left);
    if (two) {
        m_secondary = QRect(QPoint(left.width(), 0), right);
        if (kind.monitors == DesktopKind::Monitors::PrimaryRight)
            std::swap(m_primary, m_secondary);
    }
    const QSize screen = two ? QSize(left.width() + right.width(), left.height()) : left;
    if (!startServer(screen))
        return;
    if (kind.scale == 2 && !run(u"xrdb"_s, {u"-merge"_s}, "Xft.dpi: 192\n")) {
        m_problem = u"xrdb failed"_s;
        return;
    }
    if (two && !setUpMonitors())
        return;
    if (kind.compositing
        && !startAndWait(m_compositor, u"xcompmgr"_s, {}, [this] { return selectionOwner("_NET_WM_CM_S0") != 0; }))
        return;
    // Openbox may drop a window mapped while it starts: the panel comes
    // first, as with a session's panel started early.
    if (kind.topPanel && !setTopPanel(true))
        return;
    if (kind.windowManager
        && !startAndWait(m_windowManager, u"openbox"_s, {}, [this] {
               Reply<xcb_get_property_reply_t> check(xcb_get_property_reply(
                   m_connection,
                   xcb_get_property(m_connection, 0, m_root, atom("_NET_SUPPORTING_WM_CHECK"), XCB_ATOM_WINDOW, 0, 1),
                   nullptr));
               return check && xcb_get_property_value_length(check.get()) == 4 && hasWorkArea();
           }))
        return;
}

VirtualDesktop::~VirtualDesktop()
{
    for (QProcess *process : {&m_compositor, &m_windowManager, &m_server}) {
        if (process->state() != QProcess::NotRunning) {
            process->kill();
            process->waitForFinished();
        }
    }
    if (m_connection)
        xcb_disconnect(m_connection);
}

bool VirtualDesktop::startServer(const QSize &size)
{
    // The server picks a free display and names it on descriptor 3.
    const QString displayFile = m_home.filePath(u"display"_s);
    m_server.start(u"bash"_s, {u"-c"_s,
                               u"exec Xvfb -displayfd 3 -screen 0 %1x%2x24 -nolisten tcp -noreset 3>\"$0\""_s
                                   .arg(size.width())
                                   .arg(size.height()),
                               displayFile});
    QFile file(displayFile);
    if (!QTest::qWaitFor([&] { return file.size() > 0 || m_server.state() == QProcess::NotRunning; }, timeout)
        || !file.open(QIODevice::ReadOnly)) {
        m_problem = u"Xvfb did not start"_s;
        return false;
    }
    m_display = u":"_s + QString::fromLatin1(file.readAll().trimmed());
    int screen = 0;
    m_connection = xcb_connect(m_display.toLatin1().constData(), &screen);
    if (xcb_connection_has_error(m_connection)) {
        m_problem = u"cannot connect to "_s + m_display;
        return false;
    }
    m_root = xcb_setup_roots_iterator(xcb_get_setup(m_connection)).data->root;
    return true;
}

bool VirtualDesktop::startAndWait(QProcess &process, const QString &program, const QStringList &arguments,
                                  const std::function<bool()> &ready)
{
    process.setProcessEnvironment(environment());
    process.start(program, arguments);
    if (!QTest::qWaitFor([&] { return ready() || process.state() == QProcess::NotRunning; }, timeout)
        || process.state() == QProcess::NotRunning) {
        m_problem = program + u" did not start"_s;
        return false;
    }
    return true;
}

bool VirtualDesktop::swapPrimaryMonitor()
{
    std::swap(m_primary, m_secondary);
    return setUpMonitors();
}

bool VirtualDesktop::setUpMonitors()
{
    // RandR monitors on Xvfb's one output, which the primary one holds. A
    // monitor is replaced by removing it first (at the start there are none).
    for (const QString &name : {u"LEFT"_s, u"RIGHT"_s})
        run(u"xrandr"_s, {u"--delmonitor"_s, name});
    const auto monitor = [this](const QRect &rect) {
        const QString name = rect.x() == 0 ? u"LEFT"_s : u"RIGHT"_s;
        const QString geometry = u"%1/%2x%3/%4+%5+%6"_s.arg(rect.width())
                                     .arg(rect.width() / 4)
                                     .arg(rect.height())
                                     .arg(rect.height() / 4)
                                     .arg(rect.x())
                                     .arg(rect.y());
        return run(u"xrandr"_s, {u"--setmonitor"_s, name, geometry, rect == m_primary ? u"screen"_s : u"none"_s});
    };
    if (!run(u"xrandr"_s, {u"--output"_s, u"screen"_s, u"--primary"_s}) || !monitor(m_secondary)
        || !monitor(m_primary)) {
        m_problem = u"xrandr failed"_s;
        return false;
    }
    return true;
}

bool VirtualDesktop::setTopPanel(bool shown)
{
    xcb_connection_t *c = m_connection;
    if (m_dock) {
        if (shown)
            xcb_map_window(c, m_dock);
        else
            xcb_unmap_window(c, m_dock);
        xcb_flush(c);
        return QTest::qWaitFor([&] { return isMapped(m_dock) == shown; }, timeout);
    }
    const int height = qRound(32 * m_kind.scale);
    const xcb_window_t dock = m_dock = xcb_generate_id(c);
    const xcb_screen_t *screen = xcb_setup_roots_iterator(xcb_get_setup(c)).data;
    xcb_create_window(c, XCB_COPY_FROM_PARENT, dock, m_root, int16_t(m_primary.x()), 0, uint16_t(m_primary.width()),
                      uint16_t(height), 0, XCB_WINDOW_CLASS_INPUT_OUTPUT, screen->root_visual, XCB_CW_BACK_PIXEL,
                      &screen->white_pixel);
    const auto set = [&](const char *property, xcb_atom_t type, std::initializer_list<uint32_t> values) {
        xcb_change_property(c, XCB_PROP_MODE_REPLACE, dock, atom(property), type, 32, uint32_t(values.size()),
                            values.begin());
    };
    set("_NET_WM_WINDOW_TYPE", XCB_ATOM_ATOM, {atom("_NET_WM_WINDOW_TYPE_DOCK")});
    const auto left = uint32_t(m_primary.x());
    const auto right = uint32_t(m_primary.x() + m_primary.width() - 1);
    set("_NET_WM_STRUT_PARTIAL", XCB_ATOM_CARDINAL, {0, 0, uint32_t(height), 0, 0, 0, 0, 0, left, right, 0, 0});
    // Where it asked to be, not where a window manager would place it.
    set("WM_NORMAL_HINTS", XCB_ATOM_WM_SIZE_HINTS,
        {1 | 4, uint32_t(m_primary.x()), 0, uint32_t(m_primary.width()), uint32_t(height), 0, 0, 0, 0, 0, 0, 0, 0, 0,
         0, 0, 0, 0});
    xcb_change_property(c, XCB_PROP_MODE_REPLACE, dock, XCB_ATOM_WM_NAME, XCB_ATOM_STRING, 8, 9, "top panel");
    xcb_map_window(c, dock);
    xcb_flush(c);
    if (!QTest::qWaitFor([&] { return isMapped(dock); }, timeout)) {
        m_problem = u"the top panel was not mapped"_s;
        return false;
    }
    return true;
}

QProcessEnvironment VirtualDesktop::environment() const
{
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(u"DISPLAY"_s, m_display);
    environment.insert(u"HOME"_s, m_home.path());
    for (const char *variable : {"QT_QPA_PLATFORM", "QT_SCALE_FACTOR", "QT_SCREEN_SCALE_FACTORS", "XDG_CONFIG_HOME",
                                 "XDG_RUNTIME_DIR"})
        environment.remove(QString::fromLatin1(variable));
    if (m_kind.scale != 1 && m_kind.scale != 2)
        environment.insert(u"QT_SCALE_FACTOR"_s, QString::number(m_kind.scale));
    return environment;
}

bool VirtualDesktop::run(const QString &program, const QStringList &arguments, const QByteArray &input) const
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

quint32 VirtualDesktop::atom(const char *name) const
{
    Reply<xcb_intern_atom_reply_t> reply(
        xcb_intern_atom_reply(m_connection, xcb_intern_atom(m_connection, 0, uint16_t(qstrlen(name)), name), nullptr));
    return reply ? reply->atom : quint32(XCB_ATOM_NONE);
}

quint32 VirtualDesktop::selectionOwner(const QByteArray &selection) const
{
    Reply<xcb_get_selection_owner_reply_t> reply(xcb_get_selection_owner_reply(
        m_connection, xcb_get_selection_owner(m_connection, atom(selection.constData())), nullptr));
    return reply ? reply->owner : XCB_NONE;
}

bool VirtualDesktop::hasWorkArea() const
{
    Reply<xcb_get_property_reply_t> area(xcb_get_property_reply(
        m_connection, xcb_get_property(m_connection, 0, m_root, atom("_NET_WORKAREA"), XCB_ATOM_CARDINAL, 0, 4),
        nullptr));
    return area && xcb_get_property_value_length(area.get()) == 16;
}

bool VirtualDesktop::isMapped(quint32 window) const
{
    Reply<xcb_get_window_attributes_reply_t> attributes(
        xcb_get_window_attributes_reply(m_connection, xcb_get_window_attributes(m_connection, window), nullptr));
    return attributes && attributes->map_state == XCB_MAP_STATE_VIEWABLE;
}

quint32 VirtualDesktop::mappedWindow(const QByteArray &name) const
{
    xcb_connection_t *c = m_connection;
    Reply<xcb_query_tree_reply_t> tree(xcb_query_tree_reply(c, xcb_query_tree(c, m_root), nullptr));
    if (!tree)
        return XCB_NONE;
    const xcb_window_t *children = xcb_query_tree_children(tree.get());
    for (int i = 0; i < xcb_query_tree_children_length(tree.get()); ++i) {
        Reply<xcb_get_property_reply_t> title(xcb_get_property_reply(
            c, xcb_get_property(c, 0, children[i], XCB_ATOM_WM_NAME, XCB_GET_PROPERTY_TYPE_ANY, 0, 64), nullptr));
        if (title
            && QByteArray(static_cast<const char *>(xcb_get_property_value(title.get())),
                          xcb_get_property_value_length(title.get()))
                == name
            && isMapped(children[i]))
            return children[i];
    }
    return XCB_NONE;
}

QRect VirtualDesktop::windowRect(quint32 window) const
{
    xcb_connection_t *c = m_connection;
    Reply<xcb_get_geometry_reply_t> geometry(xcb_get_geometry_reply(c, xcb_get_geometry(c, window), nullptr));
    Reply<xcb_translate_coordinates_reply_t> origin(
        xcb_translate_coordinates_reply(c, xcb_translate_coordinates(c, window, m_root, 0, 0), nullptr));
    if (!geometry || !origin)
        return {};
    return QRect(origin->dst_x, origin->dst_y, geometry->width, geometry->height);
}

quint32 VirtualDesktop::createPressRecorder(const QRect &rect)
{
    const xcb_window_t window = xcb_generate_id(m_connection);
    const uint32_t values[] = {1, XCB_EVENT_MASK_BUTTON_PRESS};
    xcb_create_window(m_connection, XCB_COPY_FROM_PARENT, window, m_root, int16_t(rect.x()), int16_t(rect.y()),
                      uint16_t(rect.width()), uint16_t(rect.height()), 0, XCB_WINDOW_CLASS_INPUT_ONLY,
                      XCB_COPY_FROM_PARENT, XCB_CW_OVERRIDE_REDIRECT | XCB_CW_EVENT_MASK, values);
    xcb_map_window(m_connection, window);
    xcb_flush(m_connection);
    m_pressCounts.emplace_back(window, 0);
    return QTest::qWaitFor([&] { return isMapped(window); }, timeout) ? window : XCB_NONE;
}

int VirtualDesktop::pressesSeen(quint32 window)
{
    while (Reply<xcb_generic_event_t> event{xcb_poll_for_event(m_connection)}) {
        if ((event->response_type & 0x7f) != XCB_BUTTON_PRESS)
            continue;
        const auto *press = reinterpret_cast<const xcb_button_press_event_t *>(event.get());
        for (auto &[recorder, count] : m_pressCounts) {
            if (recorder == press->event)
                ++count;
        }
    }
    for (const auto &[recorder, count] : m_pressCounts) {
        if (recorder == window)
            return count;
    }
    return 0;
}

bool VirtualDesktop::giveKeyboardTo(quint32 window)
{
    xcb_set_input_focus(m_connection, XCB_INPUT_FOCUS_NONE, window, XCB_CURRENT_TIME);
    xcb_flush(m_connection);
    return QTest::qWaitFor([&] { return inputFocus() == window; }, timeout);
}

quint32 VirtualDesktop::inputFocus() const
{
    Reply<xcb_get_input_focus_reply_t> reply(
        xcb_get_input_focus_reply(m_connection, xcb_get_input_focus(m_connection), nullptr));
    return reply ? reply->focus : quint32(XCB_NONE);
}

bool VirtualDesktop::takesPressesAt(quint32 window, const QPoint &point) const
{
    Reply<xcb_shape_get_rectangles_reply_t> reply(xcb_shape_get_rectangles_reply(
        m_connection, xcb_shape_get_rectangles(m_connection, window, XCB_SHAPE_SK_INPUT), nullptr));
    if (!reply)
        return false;
    const xcb_rectangle_t *rectangles = xcb_shape_get_rectangles_rectangles(reply.get());
    for (int i = 0; i < xcb_shape_get_rectangles_rectangles_length(reply.get()); ++i) {
        const xcb_rectangle_t &r = rectangles[i];
        if (QRect(r.x, r.y, r.width, r.height).contains(point))
            return true;
    }
    return false;
}
