// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Marlowick developers

#pragma once

#include <QObject>
#include <QPointer>
#include <QRegion>

class QQuickItem;
class QQuickWindow;

// Keeps the panel window's X shapes on the body's outline while it springs
// open and closed (off X11, its mask, which is the input region there): the input shape always, so that presses beside and below
// the body reach the windows underneath; the visible (bounding) shape too
// where no compositing manager makes the pixels around the body transparent.
//
// The outline is read once per frame, after the animations have advanced,
// and sent to the X server only when one of its device pixels changed. A
// visible outline that grows exposes new pixels each frame; for a window
// already on screen an expose asks for the next frame instead of the frame
// Qt Quick would otherwise draw at once, outside the animation's rhythm.
class PanelWindowShape : public QObject
{
    Q_OBJECT

public:
    explicit PanelWindowShape(QQuickWindow *window);

    // The item the outline fills: a NotchShapeItem gives its corners, any
    // other item its rectangle. None: the whole window.
    void setOutlineItem(QQuickItem *item);
    // Asks again whether a compositing manager runs and sends the shapes
    // now; for a window about to be shown, which draws no frame before.
    void refresh();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    // The outline in pixels of that ratio to logical ones.
    QRegion outlineRegion(qreal devicePixelRatio) const;
    void update();
    // Off X11: the outline as the window's mask.
    void updateMask();
    void send(const QRegion &outline);

    QQuickWindow *m_window;
    QPointer<QQuickItem> m_outlineItem;
    bool m_composited = false;
    bool m_exposed = false;
    // What the server has; a window made anew has no shapes.
    QRegion m_sentOutline;
    bool m_sentComposited = false;
    quintptr m_sentWindow = 0;
};
