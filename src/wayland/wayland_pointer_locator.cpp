// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Marlowick developers

#include "wayland/wayland_pointer_locator.h"

#include <QCoreApplication>
#include <QCursor>
#include <QEvent>

#include <limits>

WaylandPointerLocator::WaylandPointerLocator(QObject *parent)
    : QObject(parent)
{
    QCoreApplication::instance()->installEventFilter(this);
}

WaylandPointerLocator::~WaylandPointerLocator()
{
    QCoreApplication::instance()->removeEventFilter(this);
}

QPointF WaylandPointerLocator::position() const
{
    if (m_under)
        return QPointF(QCursor::pos());
    constexpr qreal far = std::numeric_limits<int>::min() / 2;
    return QPointF(far, far);
}

bool WaylandPointerLocator::eventFilter(QObject *watched, QEvent *event)
{
    auto *window = qobject_cast<QWindow *>(watched);
    if (!window)
        return false;
    if (event->type() == QEvent::Enter || event->type() == QEvent::MouseMove)
        m_under = window;
    else if (event->type() == QEvent::Leave && m_under == window)
        m_under = nullptr;
    return false;
}
