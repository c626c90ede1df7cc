// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Marlowick developers

#pragma once

#include <QAbstractNativeEventFilter>
#include <QObject>
#include <QRect>

class X11PushBarrier;

// An invisible window laid over the notch that signals when the pointer
// enters or leaves it and when a mouse button is pressed in it. It is placed
// in the X server's pixels (NotchGeometry::sensorDeviceRect), not in Qt's
// logical ones: the two differ on a scaled screen.
//
// On X11 it is an InputOnly window: it has no pixels at all, so it draws
// nothing with or without a compositing manager, yet it receives pointer
// events. It is override-redirect, so the window manager never decorates,
// focuses, lists or moves it, and it stays put on every virtual desktop.
// Its events are picked out of Qt's event stream with a native event filter.
// Without X11 (the offscreen platform) it exists but never reports anything.
//
// Along its top edge lies an X Fixes pointer barrier (with XInput 2.3 barrier
// events) that holds the pointer pushed up against it and reports how hard it
// pushes: only a push, not every motion, wakes the program.
class NotchSensorWindow : public QObject, public QAbstractNativeEventFilter
{
    Q_OBJECT

public:
    explicit NotchSensorWindow(const QRect &rect, QObject *parent = nullptr);
    ~NotchSensorWindow() override;

    QRect rect() const { return m_rect; }
    // Moves the window, and with it the area that reports, to rect, and
    // shows it again. An empty rect takes the window off the screen: it
    // reports nothing until it is given a non-empty one. Over a top panel,
    // where the server has pointer barriers, the window stays off the
    // screen (the panel keeps its clicks and hovers there) and only a push
    // at the top edge opens.
    void reposition(const QRect &rect, bool overTopPanel = false);
    // Shows the window above every other one.
    void show();

    // The X window, or 0 without X11.
    quint32 winId() const { return m_window; }

    bool nativeEventFilter(const QByteArray &eventType, void *message, qintptr *result) override;

Q_SIGNALS:
    // Once per crossing of the window's edge by the pointer alone: not at
    // the end of a drag (a button held, or a grab let go there), and not
    // while a fullscreen window is active over the strip (a video, a game).
    void entered();
    void exited();
    // A button pressed in the window; wheel steps are no presses. Not while
    // a fullscreen window is active over the strip.
    void pressed();
    // The pointer moved inside the window (along a bare edge, sideways).
    void moved();
    // The pointer pushed up against the strip's top edge, held there by a
    // pointer barrier, as far as PanelMetrics::pushDistance(); where the
    // primary monitor lies below another, a further push passes through.
    // Not while a fullscreen window is active over the strip.
    void pushed();

private:
    void setPointerInside(bool inside);
    bool fullscreenWindowIsActive() const;

    QRect m_rect;
    bool m_overTopPanel = false;
    quint32 m_window = 0;
    bool m_pointerInside = false;
    X11PushBarrier *m_barrier = nullptr;
};
