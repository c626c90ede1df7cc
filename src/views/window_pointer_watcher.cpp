#include "window_pointer_watcher.h"

#include <QEnterEvent>
#include <QMouseEvent>
#include <QQuickWindow>

WindowPointerWatcher::WindowPointerWatcher(QQuickItem *parent)
    : QQuickItem(parent)
{
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
        if (m_window)
            m_window->installEventFilter(this);
    }
    QQuickItem::itemChange(change, data);
}

bool WindowPointerWatcher::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_window) {
        switch (event->type()) {
        case QEvent::MouseMove:
            Q_EMIT moved(static_cast<QMouseEvent *>(event)->scenePosition());
            break;
        case QEvent::Enter:
            Q_EMIT moved(static_cast<QEnterEvent *>(event)->scenePosition());
            break;
        case QEvent::Leave:
            Q_EMIT exited();
            break;
        default:
            break;
        }
    }
    return QQuickItem::eventFilter(watched, event);
}
