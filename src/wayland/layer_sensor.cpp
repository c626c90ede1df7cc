// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Marlowick developers

#include "wayland/layer_sensor.h"

#include "platform/press_monitors.h"
#include "wayland/layer_surface_role.h"

#include <QGuiApplication>
#include <QMouseEvent>
#include <QPainter>
#include <QScreen>

// Draws nothing: a surface needs a buffer to be shown, and a transparent
// one shows nothing.
class LayerSensor::Surface : public QRasterWindow
{
public:
    Surface()
    {
        setObjectName(QStringLiteral("Marlowick strip"));
        setFlags(Qt::Tool | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint | Qt::BypassWindowManagerHint
                 | Qt::WindowDoesNotAcceptFocus);
        QSurfaceFormat surface = format();
        surface.setAlphaBufferSize(8);
        setFormat(surface);
    }

protected:
    void paintEvent(QPaintEvent *) override
    {
        QPainter painter(this);
        painter.setCompositionMode(QPainter::CompositionMode_Source);
        painter.fillRect(QRect(QPoint(), size()), Qt::transparent);
        // Shown from here on: the pointer over it reaches it.
        qCInfo(lcLayer, "the strip is drawn");
    }
};

namespace {

// The screen that holds the strip's rectangle (Qt's global coordinates).
QScreen *screenAt(const QRectF &rect)
{
    QScreen *screen = QGuiApplication::screenAt(rect.center().toPoint());
    return screen ? screen : QGuiApplication::primaryScreen();
}

} // namespace

LayerSensor::LayerSensor(const NotchGeometry &geometry, QObject *parent)
    : NotchSensor(parent)
    , m_surface(std::make_unique<Surface>())
    , m_role(m_surface.get())
{
    m_surface->installEventFilter(this);
    m_rect = geometry.sensorDeviceRect;
}

LayerSensor::~LayerSensor()
{
    m_role.release();
}

QWindow *LayerSensor::window() const
{
    return m_surface.get();
}

void LayerSensor::place(const NotchGeometry &geometry)
{
    m_rect = geometry.sensorDeviceRect;
    QScreen *screen = screenAt(geometry.sensorRect);
    // One logical pixel: the least a surface can be.
    const QRect logical(geometry.sensorRect.toRect().topLeft(), QSize(qRound(geometry.sensorRect.width()), 1));
    const bool unchanged = m_role.isAssigned() && screen == m_screen && m_surface->geometry() == logical;
    if (unchanged)
        return;
    m_role.release();
    m_surface->hide();
    m_pointerInside = false;
    if (m_rect.isEmpty() || !screen)
        return;
    m_screen = screen;
    m_surface->setScreen(screen);
    m_surface->setGeometry(logical);
    m_surface->show();
    LayerSurfaceRole::Settings settings;
    settings.anchor = LayerSurfaceRole::Top;
    settings.size = logical.size();
    settings.exclusiveZone = -1;
    m_role.assign(settings, screen);
}

bool LayerSensor::eventFilter(QObject *watched, QEvent *event)
{
    if (watched != m_surface.get())
        return false;
    switch (event->type()) {
    case QEvent::Enter:
    case QEvent::Leave: {
        const bool inside = event->type() == QEvent::Enter;
        if (inside != m_pointerInside) {
            m_pointerInside = inside;
            if (inside)
                Q_EMIT entered();
            else
                Q_EMIT exited();
        }
        return false;
    }
    case QEvent::MouseButtonPress: {
        const auto *press = static_cast<QMouseEvent *>(event);
        if (countsAsPress(press->button()))
            Q_EMIT pressed();
        return true;
    }
    default:
        return false;
    }
}
