#pragma once

#include <QPointer>
#include <QPointF>
#include <QQuickItem>
#include <QtQmlIntegration/qqmlintegration.h>

// Reports the pointer's real movements over the window it is in: the mouse
// events the window system sends, not the hover updates Qt Quick makes up
// when items move under a resting pointer. Those tell a body that shrank
// away from the pointer from a pointer that moved off the body.
class WindowPointerWatcher : public QQuickItem
{
    Q_OBJECT
    QML_ELEMENT

public:
    explicit WindowPointerWatcher(QQuickItem *parent = nullptr);
    ~WindowPointerWatcher() override;

Q_SIGNALS:
    // The pointer moved, or entered the window, at this scene position.
    void moved(QPointF scenePosition);
    // The pointer left the window.
    void exited();

protected:
    void itemChange(ItemChange change, const ItemChangeData &data) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QPointer<QQuickWindow> m_window;
};
