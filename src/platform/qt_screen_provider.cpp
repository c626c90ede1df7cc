#include "qt_screen_provider.h"

#include <QGuiApplication>
#include <QScreen>

namespace {

ScreenDescription describe(const QScreen *screen)
{
    return ScreenDescription{QRectF(screen->geometry()), QRectF(screen->availableGeometry()), {}, {}};
}

} // namespace

QtScreenProvider::QtScreenProvider(QObject *parent)
    : ScreenProvider(parent)
{
    const auto screens = QGuiApplication::screens();
    for (QScreen *screen : screens)
        watch(screen);
    connect(qGuiApp, &QGuiApplication::screenAdded, this, [this](QScreen *screen) {
        watch(screen);
        noteChange();
    });
    connect(qGuiApp, &QGuiApplication::screenRemoved, this, &QtScreenProvider::noteChange);
    connect(qGuiApp, &QGuiApplication::primaryScreenChanged, this, &QtScreenProvider::noteChange);
}

QList<ScreenDescription> QtScreenProvider::screens() const
{
    QList<ScreenDescription> result;
    const auto screens = QGuiApplication::screens();
    for (const QScreen *screen : screens)
        result.append(describe(screen));
    return result;
}

std::optional<ScreenDescription> QtScreenProvider::primaryScreen() const
{
    if (const QScreen *screen = QGuiApplication::primaryScreen())
        return describe(screen);
    return std::nullopt;
}

void QtScreenProvider::watch(QScreen *screen)
{
    connect(screen, &QScreen::geometryChanged, this, &QtScreenProvider::noteChange);
    connect(screen, &QScreen::availableGeometryChanged, this, &QtScreenProvider::noteChange);
}

void QtScreenProvider::noteChange()
{
    // One change of the configuration (a monitor plugged in) arrives as a
    // burst of Qt signals; listeners hear of it once, when it has settled.
    if (m_changePending)
        return;
    m_changePending = true;
    QMetaObject::invokeMethod(
        this,
        [this] {
            m_changePending = false;
            Q_EMIT screenConfigurationChanged();
        },
        Qt::QueuedConnection);
}
