// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Marlowick developers

#pragma once

#include "notch/notch_sensor.h"

#include <QAbstractNativeEventFilter>
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
class NotchSensorWindow : public NotchSensor, public QAbstractNativeEventFilter
{
    Q_OBJECT

public:
    explicit NotchSensorWindow(const QRect &rect, QObject *parent = nullptr);
    ~NotchSensorWindow() override;

    QRect rect() const override { return m_rect; }
    // Repositions it to the sensor's device rectangle.
    void place(const NotchGeometry &geometry) override
    {
        reposition(geometry.sensorDeviceRect, !geometry.sensorIsScreenEdge);
    }
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

private:
    void setPointerInside(bool inside);
    bool fullscreenWindowIsActive() const;

    QRect m_rect;
    bool m_overTopPanel = false;
    quint32 m_window = 0;
    bool m_pointerInside = false;
    X11PushBarrier *m_barrier = nullptr;
};
