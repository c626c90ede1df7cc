// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Marlowick developers

#pragma once

#include <QPointF>
#include <QPointer>
#include <QQuickItem>
#include <QTimer>
#include <QtQmlIntegration/qqmlintegration.h>

#include <optional>

// Reports the pointer's real movements over the window it is in: the mouse
// events the window system sends, not the hover updates Qt Quick makes up
// when items move under a resting pointer. Those tell a body that shrank
// away from the pointer from a pointer that moved off the body.
//
// A window shaped to its body hears of a body that shrank away from a
// resting pointer as the pointer leaving it. That is not taken as leaving:
// the pointer's position is then followed until it really moves.
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
    void notePosition(const QPointF &globalPosition);
    void checkRestingPointer();

    QPointer<QQuickWindow> m_window;
    // Where the last real movement left the pointer, in global coordinates.
    std::optional<QPointF> m_lastGlobalPosition;
    // Runs only while the window's shape has left a resting pointer outside.
    QTimer m_restingPointerCheck;
    // The window system reports the pointer only over this program's
    // windows (Wayland, and X11 under XWayland, where native windows hide
    // it): QCursor::pos() stands still once it has left.
    const bool m_pointerOnlyOverOwnWindows;
};
