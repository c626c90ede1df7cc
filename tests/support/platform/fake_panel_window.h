// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Marlowick developers

#pragma once

#include "notch/panel_window.h"

#include <QList>

// Records what the controller does to its window.
class FakePanelWindow : public PanelWindow
{
public:
    QRectF currentFrame;
    QList<QRectF> framesSet;
    bool shown = false;
    int showCount = 0;
    int activationRequests = 0;
    int hideCount = 0;
    int keyboardReleases = 0;
    bool buttonHeld = false;
    std::function<void()> buttonReleaseHandler;
    const QWindow *window = nullptr;
    std::function<void()> keyPressHandler;
    PanelRootViewSetup hostedSetup;
    int hostCount = 0;

    void setFrame(const QRectF &frame) override
    {
        currentFrame = frame;
        framesSet.append(frame);
    }
    QRectF frame() const override { return currentFrame; }
    void show() override
    {
        shown = true;
        ++showCount;
    }
    void raise() override {}
    void hide() override
    {
        shown = false;
        ++hideCount;
    }
    void requestActivate() override { ++activationRequests; }
    void releaseKeyboard() override { ++keyboardReleases; }
    bool isButtonHeld() const override { return buttonHeld; }
    void setButtonReleaseHandler(std::function<void()> handler) override { buttonReleaseHandler = std::move(handler); }
    bool isPanelWindow(const QWindow *w) const override { return w && w == window; }
    void setKeyPressHandler(std::function<void()> handler) override { keyPressHandler = std::move(handler); }
    void hostRootView(const PanelRootViewFactory &, const PanelRootViewSetup &setup) override
    {
        hostedSetup = setup;
        ++hostCount;
    }
};
