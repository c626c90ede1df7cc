// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Marlowick developers

#include "wayland/outside_press_catcher.h"

#include <QPainter>
#include <QScreen>

OutsidePressCatcher::OutsidePressCatcher()
    : m_role(this)
{
    setObjectName(QStringLiteral("Marlowick outside"));
    setFlags(Qt::Tool | Qt::FramelessWindowHint | Qt::BypassWindowManagerHint | Qt::WindowDoesNotAcceptFocus);
    QSurfaceFormat surface = format();
    surface.setAlphaBufferSize(8);
    setFormat(surface);
}

void OutsidePressCatcher::cover(QScreen *screen)
{
    if (!screen || (isVisible() && m_role.isAssigned() && this->screen() == screen))
        return;
    uncover();
    setScreen(screen);
    setGeometry(screen->geometry());
    show();
    LayerSurfaceRole::Settings settings;
    settings.layer = LayerSurfaceRole::Layer::Top;
    settings.anchor = LayerSurfaceRole::Top | LayerSurfaceRole::Left;
    settings.size = screen->geometry().size();
    settings.exclusiveZone = -1;
    m_role.assign(settings, screen);
}

void OutsidePressCatcher::uncover()
{
    m_role.release();
    hide();
}

void OutsidePressCatcher::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setCompositionMode(QPainter::CompositionMode_Source);
    painter.fillRect(QRect(QPoint(), size()), Qt::transparent);
}
