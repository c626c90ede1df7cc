// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Marlowick developers

#pragma once

#include "notch/panel_window.h"

#include <QPointer>
#include <QQuickItem>
#include <QQuickWindow>

#include "notch/notch_animation_state.h"
#include "notch/panel_window_shape.h"
#include "platform/x11_keyboard_loan.h"

class QQmlEngine;

// The window the panel's views live in: of PanelMetrics' window size,
// frameless, above every other window on every desktop, without a task-bar or
// pager entry, never moved, dark. It takes the keyboard when the controller
// asks. Whatever shows it (show(), setVisible()), its root view is built and
// its shapes are set before it is mapped: its first frame comes later.
//
// On X11 it is override-redirect: the window manager neither decorates nor
// moves nor lists it, and because no window manager activates it either, the
// panel sets the X input focus to itself (a window that refused focus could
// not be typed into), and gives it back to the window that had it as it
// closes.
//
// The root view sits at the top centre; the rest of the window is
// transparent and lets presses through to the windows below: the window's
// shapes follow the body's outline (see PanelWindowShape). The root view
// names the item that outlines its body in a property `outline`; without
// one the root item's rectangle is the body.
class DropdownPanel : public QQuickWindow, public PanelWindow
{
    Q_OBJECT

public:
    explicit DropdownPanel(QWindow *parent = nullptr);
    ~DropdownPanel() override;

    void setFrame(const QRectF &frame) override;
    QRectF frame() const override;
    void show() override { QQuickWindow::show(); }
    void raise() override { QQuickWindow::raise(); }
    void hide() override { QQuickWindow::hide(); }
    // Sets the X input focus, noting who had it; without X11 as QWindow does.
    void requestActivate() override;
    void releaseKeyboard() override { X11KeyboardLoan::shared().giveBack(this); }
    bool isButtonHeld() const override { return m_buttonHeld; }
    void setButtonReleaseHandler(std::function<void()> handler) override
    {
        m_buttonReleaseHandler = std::move(handler);
    }
    bool isPanelWindow(const QWindow *window) const override;
    void setKeyPressHandler(std::function<void()> handler) override { m_keyPressHandler = std::move(handler); }
    void hostRootView(const PanelRootViewFactory &factory, const PanelRootViewSetup &setup) override;

protected:
    bool event(QEvent *event) override;

private:
    // The engine root views are built in; made on first use.
    QQmlEngine *engine();
    // Shows item at the top centre of the window, which takes ownership of
    // it; null brings back the stand-in body.
    void setRootItem(QQuickItem *item);
    void buildRootView();
    void placeRootItem();

    QQmlEngine *m_engine = nullptr;
    PanelWindowShape *m_shape = nullptr;
    QPointer<QQuickItem> m_rootItem;
    std::function<void()> m_pendingRootView;
    // The stand-in body reports hover itself, as the root view would.
    QPointer<NotchAnimationState> m_standInHoverState;
    std::function<void()> m_keyPressHandler;
    std::function<void()> m_buttonReleaseHandler;
    bool m_buttonHeld = false;
};
