// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Marlowick developers

#pragma once

#include <QObject>
#include <QtQmlIntegration/qqmlintegration.h>

#include <chrono>

// The panel's sizes and timings, each given once for the C++ and the views
// alike: C++ calls the functions, QML reads the singleton's properties of the
// same names (PanelMetrics.bodyWidth).
class PanelMetrics : public QObject
{
    Q_OBJECT
    QML_ELEMENT
    QML_SINGLETON
    Q_PROPERTY(qreal windowWidth READ windowWidth CONSTANT FINAL)
    Q_PROPERTY(qreal windowHeight READ windowHeight CONSTANT FINAL)
    Q_PROPERTY(qreal bodyWidth READ bodyWidth CONSTANT FINAL)
    Q_PROPERTY(qreal stripWidth READ stripWidth CONSTANT FINAL)
    Q_PROPERTY(qreal contentTopPadding READ contentTopPadding CONSTANT FINAL)
    Q_PROPERTY(qreal contentBottomPadding READ contentBottomPadding CONSTANT FINAL)
    Q_PROPERTY(qreal dayHeaderHeight READ dayHeaderHeight CONSTANT FINAL)
    Q_PROPERTY(qreal listMaximumHeight READ listMaximumHeight CONSTANT FINAL)
    Q_PROPERTY(qreal springResponse READ springResponse CONSTANT FINAL)
    Q_PROPERTY(qreal springDampingFraction READ springDampingFraction CONSTANT FINAL)

public:
    using QObject::QObject;

    // The panel window, hanging from the top edge of the screen; the body
    // grows within it, also when the spring overshoots.
    static constexpr qreal windowWidth() { return 380; }
    static constexpr qreal windowHeight() { return 520; }
    // The open body, which opens from the width of the notch.
    static constexpr qreal bodyWidth() { return 340; }
    // On a screen without a notch, the strip of the top panel that stands
    // for it.
    static constexpr qreal stripWidth() { return 200; }
    // The black above and below the list within the open body.
    static constexpr qreal contentTopPadding() { return 20; }
    static constexpr qreal contentBottomPadding() { return 4; }
    // The row with the day's name and the arrows to the days beside it.
    static constexpr qreal dayHeaderHeight() { return 44; }
    // The day's to-dos scroll beyond this height.
    static constexpr qreal listMaximumHeight() { return 320; }
    // With no screen at all there is nothing to measure; the body still
    // needs a width to open from.
    static constexpr qreal fallbackNotchWidth() { return 220; }

    // The spring of opening and closing (its response in seconds). The
    // closing window stays up for the response, the time the body takes.
    static constexpr qreal springResponse() { return 0.45; }
    static constexpr qreal springDampingFraction() { return 0.72; }

    // How long the pointer may be outside notch and panel before it closes.
    static constexpr std::chrono::milliseconds hideDelay() { return std::chrono::milliseconds(500); }
    // After opening the frame is set once more, for a geometry that changed
    // while the window was being shown.
    static constexpr std::chrono::milliseconds reframeDelay() { return std::chrono::milliseconds(400); }
    // A top panel lower than this is an autohiding one, hidden but for a
    // sliver: the pointer meets it on its way to anything at the top, as it
    // meets a bare edge.
    static constexpr qreal minimumTopPanelHeight() { return 8; }
    // How far, in the X server's pixels, the pointer must push up against
    // the top edge at the strip for the panel to open: a deliberate push,
    // not a pointer thrown up on its way to something at the top.
    static constexpr qreal pushDistance() { return 60; }
    // How long the pointer must rest on a bare screen edge (a sensor without
    // a top panel) before the panel opens; passing over it does nothing.
    static constexpr std::chrono::milliseconds edgeDwell() { return std::chrono::milliseconds(150); }
    // A tray click reports the button's release, but the press before it
    // already closed an open panel (a press outside it). A panel that closed
    // this recently is taken as closed by that same click, which then does
    // not open it again.
    static constexpr std::chrono::milliseconds trayClickGrace() { return std::chrono::milliseconds(500); }
};
