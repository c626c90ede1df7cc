// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Marlowick developers

#pragma once

#include "notch/notch_geometry.h"

#include <QObject>
#include <QRect>

// What lies over the notch (or the strip) and tells the panel's controller
// when the pointer enters or leaves it and when a button is pressed in it.
// Each window system has its own: an X window, a Wayland layer surface.
class NotchSensor : public QObject
{
    Q_OBJECT

public:
    using QObject::QObject;

    // Where it reports, in the window system's pixels.
    virtual QRect rect() const = 0;
    // Puts it where geometry says and shows it above the other windows.
    virtual void place(const NotchGeometry &geometry) = 0;

Q_SIGNALS:
    // Once per crossing of its edge by the pointer alone: not at the end of
    // a drag (a button held, or a grab let go there), and not while a
    // fullscreen window is active over the strip (a video, a game).
    void entered();
    void exited();
    // A button that counts (countsAsPress) pressed in it. Not while a
    // fullscreen window is active over the strip.
    void pressed();
    // The pointer moved inside it (along a bare edge, sideways).
    void moved();
    // The pointer pushed up against the strip's top edge, held there by a
    // pointer barrier, as far as PanelMetrics::pushDistance(); where the
    // primary monitor lies below another, a further push passes through.
    // Not while a fullscreen window is active over the strip.
    void pushed();
};
