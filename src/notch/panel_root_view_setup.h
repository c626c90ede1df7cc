// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Marlowick developers

#pragma once

#include <QtGlobal>

#include <functional>

class NotchAnimationState;
class QQmlEngine;
class QQuickItem;

// What the panel's root view is built with.
struct PanelRootViewSetup {
    NotchAnimationState *animationState = nullptr;
    // The width the body opens from: the notch's width when the view is built.
    qreal notchWidth = 0;
};

// Builds the panel's root view in the panel window's QML engine. The item is
// placed at the top centre of the window, which takes ownership of it. A null
// result leaves the stand-in body in place.
using PanelRootViewFactory = std::function<QQuickItem *(QQmlEngine *engine, const PanelRootViewSetup &setup)>;
