// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Marlowick developers

#include "views/window_pointer_watcher.h"

#include <QCursor>
#include <QEnterEvent>
#include <QGuiApplication>
#include <QMouseEvent>
#include <QQuickWindow>

namespace {

// Often enough to close the panel in time once the pointer moves on, seldom
// enough to cost nothing.
constexpr int restingPointerCheckMs = 50;

// A logical position rounded to whole pixels compares equal to itself.
bool isSamePosition(const QPointF &a, const QPointF &b)
{
    return (a - b).manhattanLength() <= 1.5;
}

} // namespace

WindowPointerWatcher::WindowPointerWatcher(QQuickItem *parent)
    : QQuickItem(parent)
    , m_pointerOnlyOverOwnWindows(
          QGuiApplication::platformName() == QLatin1String("wayland")
          || (QGuiApplication::platformName() == QLatin1String("xcb") && qEnvironmentVariableIsSet("WAYLAND_DISPLAY")))
{
    m_restingPointerCheck.setInterval(restingPointerCheckMs);
    connect(&m_restingPointerCheck, &QTimer::timeout, this, &WindowPointerWatcher::checkRestingPointer);
}

WindowPointerWatcher::~WindowPointerWatcher()
{
    if (m_window)
        m_window->removeEventFilter(this);
}

void WindowPointerWatcher::itemChange(ItemChange change, const ItemChangeData &data)
{
    if (change == ItemSceneChange) {
        if (m_window)
            m_window->removeEventFilter(this);
        m_window = data.window;
        m_restingPointerCheck.stop();
        if (m_window)
            m_window->installEventFilter(this);
    }
    QQuickItem::itemChange(change, data);
}

void WindowPointerWatcher::notePosition(const QPointF &globalPosition)
{
    m_lastGlobalPosition = globalPosition;
    m_restingPointerCheck.stop();
}

void WindowPointerWatcher::checkRestingPointer()
{
    if (!m_window || !m_window->isVisible()) {
        m_restingPointerCheck.stop();
        return;
    }
    const QPointF position = QCursor::pos();
    if (m_lastGlobalPosition && isSamePosition(position, *m_lastGlobalPosition))
        return;
    notePosition(position);
    Q_EMIT moved(m_window->mapFromGlobal(position));
}

bool WindowPointerWatcher::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_window) {
        switch (event->type()) {
        case QEvent::MouseMove: {
            const auto *move = static_cast<QMouseEvent *>(event);
            notePosition(move->globalPosition());
            Q_EMIT moved(move->scenePosition());
            break;
        }
        case QEvent::Enter: {
            const auto *enter = static_cast<QEnterEvent *>(event);
            notePosition(enter->globalPosition());
            Q_EMIT moved(enter->scenePosition());
            break;
        }
        case QEvent::Leave:
            // The pointer has not moved: the window's shape shrank away from
            // under it. It leaves when it moves. (A Wayland client, XWayland's
            // included, is told nothing of the pointer over other clients'
            // surfaces: there the leave is all there is.)
            if (!m_pointerOnlyOverOwnWindows && m_lastGlobalPosition
                && isSamePosition(QCursor::pos(), *m_lastGlobalPosition)) {
                m_restingPointerCheck.start();
                break;
            }
            m_restingPointerCheck.stop();
            Q_EMIT exited();
            break;
        case QEvent::Hide:
            m_restingPointerCheck.stop();
            break;
        default:
            break;
        }
    }
    return QQuickItem::eventFilter(watched, event);
}
