// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Marlowick developers

#include "platform/x11_resource_scale.h"

#include "platform/x11_connection.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QScreen>
#include <QtGui/private/qhighdpiscaling_p.h>
#include <qpa/qplatformscreen.h>
#include <qpa/qwindowsysteminterface.h>

#include <cstdlib>
#include <memory>

namespace {

// The dpi Qt takes for a scale of 1.
constexpr int baseDpi = 96;

} // namespace

X11ResourceScale::X11ResourceScale(QObject *parent)
    : QObject(parent)
{
    if (!X11Connection::connection() || X11Connection::rootWindow() == XCB_NONE)
        return;
    // Qt selected property changes on the root window itself.
    m_dpi = readXftDpi();
    m_startDpi = m_dpi.value_or(baseDpi);
    if (const QScreen *screen = QGuiApplication::primaryScreen())
        m_startScale = QHighDpiScaling::factor(screen);
    QCoreApplication::instance()->installNativeEventFilter(this);
}

X11ResourceScale::~X11ResourceScale()
{
    if (X11Connection::connection())
        QCoreApplication::instance()->removeNativeEventFilter(this);
}

std::optional<int> X11ResourceScale::xftDpi(const QByteArray &resources)
{
    // One "name:\tvalue" a line; the last of a name counts, as in xrdb.
    std::optional<int> dpi;
    for (const QByteArray &line : resources.split('\n')) {
        const qsizetype colon = line.indexOf(':');
        if (colon < 0 || line.left(colon).trimmed() != "Xft.dpi")
            continue;
        bool ok = false;
        const double value = line.mid(colon + 1).trimmed().toDouble(&ok);
        if (ok && value >= 24 && value <= 24 * baseDpi)
            dpi = qRound(value);
    }
    return dpi;
}

std::optional<int> X11ResourceScale::readXftDpi() const
{
    xcb_connection_t *c = X11Connection::connection();
    const xcb_window_t root = X11Connection::rootWindow();
    std::unique_ptr<xcb_get_property_reply_t, decltype(&std::free)> reply(
        xcb_get_property_reply(c, xcb_get_property(c, 0, root, XCB_ATOM_RESOURCE_MANAGER, XCB_ATOM_STRING, 0, 1 << 20),
                               nullptr),
        &std::free);
    if (!reply || reply->format != 8)
        return std::nullopt;
    return xftDpi(QByteArray(static_cast<const char *>(xcb_get_property_value(reply.get())),
                             xcb_get_property_value_length(reply.get())));
}

bool X11ResourceScale::nativeEventFilter(const QByteArray &eventType, void *message, qintptr *)
{
    if (eventType != "xcb_generic_event_t")
        return false;
    const auto *event = static_cast<const xcb_generic_event_t *>(message);
    if ((event->response_type & 0x7f) != XCB_PROPERTY_NOTIFY)
        return false;
    const auto *property = static_cast<const xcb_property_notify_event_t *>(message);
    if (property->atom != XCB_ATOM_RESOURCE_MANAGER || property->window != X11Connection::rootWindow())
        return false;
    const std::optional<int> dpi = readXftDpi();
    if (dpi != m_dpi) {
        m_dpi = dpi;
        apply(dpi.value_or(baseDpi));
    }
    return false;
}

void X11ResourceScale::apply(int dpi)
{
    // Qt's scale is a factor of its own (QT_SCALE_FACTOR, which the user
    // chose) times that of the dpi the platform read at start, which stays:
    // the first is set so that the product is the user's factor times that
    // of the new dpi.
    const qreal startDpiScale = qreal(m_startDpi) / baseDpi;
    // Qt warns that windows exist; they follow all the same, below.
    static QtMessageHandler previous = nullptr;
    previous = qInstallMessageHandler([](QtMsgType type, const QMessageLogContext &context, const QString &text) {
        if (!text.startsWith(QLatin1String("QHighDpiScaling::setFactor")))
            previous(type, context, text);
    });
    QHighDpiScaling::setGlobalFactor(m_startScale * (qreal(dpi) / baseDpi) / (startDpiScale * startDpiScale));
    qInstallMessageHandler(previous);
    // As Qt does for a new dpi from XSETTINGS: every window takes the
    // screens' new ratio, and the screens announce their new geometry.
    const auto screens = QGuiApplication::screens();
    for (QScreen *screen : screens) {
        const QDpi platformDpi = screen->handle()->logicalDpi();
        QWindowSystemInterface::handleScreenLogicalDotsPerInchChange(screen, platformDpi.first, platformDpi.second);
    }
}
