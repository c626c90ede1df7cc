// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Marlowick developers

#pragma once

#include "notch/panel_root_view_setup.h"

#include <QRectF>

#include <functional>

class QWindow;

// The dropdown panel's window as its controller drives it.
class PanelWindow
{
public:
    virtual ~PanelWindow() = default;

    // Places the window at frame (global coordinates) and redraws it.
    virtual void setFrame(const QRectF &frame) = 0;
    virtual QRectF frame() const = 0;
    // As QWindow's functions of the same names.
    virtual void show() = 0;
    virtual void raise() = 0;
    virtual void hide() = 0;
    // Gives the window the keyboard, which no window manager does for it.
    virtual void requestActivate() = 0;
    // Gives the keyboard back to the window that had it before the panel
    // took it, as the panel closes; a window that took none has nothing to
    // give back.
    virtual void releaseKeyboard() {}
    // Whether a mouse button pressed in the window is still held (someone
    // drags a selection out of it), and what to call when the last such
    // button is released.
    virtual bool isButtonHeld() const { return false; }
    virtual void setButtonReleaseHandler(std::function<void()> handler) { Q_UNUSED(handler); }
    // Whether window is this panel (the target of a press).
    virtual bool isPanelWindow(const QWindow *window) const = 0;
    // Called with each key press the window receives, held keys' repeats
    // included: someone is typing into it.
    virtual void setKeyPressHandler(std::function<void()> handler) = 0;
    // Shows the root view that factory builds, built when the event loop
    // next turns or when the window is first shown; without a factory, or
    // when it gives nothing, a plain black body stands in.
    virtual void hostRootView(const PanelRootViewFactory &factory, const PanelRootViewSetup &setup) = 0;
};
