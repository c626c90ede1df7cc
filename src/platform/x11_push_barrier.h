// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Marlowick developers

#pragma once

#include <QObject>
#include <QRect>

struct xcb_connection_t;
class QSocketNotifier;

// An X Fixes pointer barrier along a horizontal line that holds the pointer
// going up and reports, through XInput 2.3 barrier events, how hard it pushes
// (as desktop shells do for their hot corners). Only a push against it, not
// every motion, wakes the program. A push on beyond three times the distance
// lets the pointer through, to a monitor above.
//
// It talks to the X server over a connection of its own: the server sends
// barrier events only to a client that announced XInput 2.3, and Qt's
// connection announced its own version first.
class X11PushBarrier : public QObject
{
    Q_OBJECT

public:
    // distance: how far the pointer must push, in the server's pixels.
    explicit X11PushBarrier(qreal distance, QObject *parent = nullptr);
    ~X11PushBarrier() override;

    // Whether the server has barriers with their events.
    bool isAvailable() const { return m_connection != nullptr; }
    // Along the top edge of rect, from its left to its right end; an empty
    // rect removes the barrier.
    void place(const QRect &rect);

Q_SIGNALS:
    // Once per push, when it has come as far as the distance.
    void pushed();

private:
    void readEvents();

    qreal m_distance;
    xcb_connection_t *m_connection = nullptr;
    QSocketNotifier *m_notifier = nullptr;
    quint8 m_xinputOpcode = 0;
    quint32 m_root = 0;
    quint32 m_barrier = 0;
    quint32 m_pushEvent = 0;
    qreal m_pushed = 0;
};
