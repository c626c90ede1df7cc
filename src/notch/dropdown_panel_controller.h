// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Marlowick developers

#pragma once

#include "notch/notch_geometry.h"
#include "notch/panel_root_view_setup.h"
#include "platform/press_monitors.h"
#include "platform/scheduler.h"

#include <QObject>

#include <memory>

class NotchAnimationState;
class NotchSensor;
class PanelWindow;
class PointerLocator;

// Opens the dropdown panel when the pointer enters the notch, closes it half
// a second after the pointer has left both the notch and the panel, or at
// once on a press outside it, and toggles it on a press on the notch.
//
// The panel's root view animates opening and closing from the shared
// NotchAnimationState; the controller shows the window at once and takes it
// off the screen when the closing animation has had time to run.
//
// Someone typing into the panel keeps it open although the pointer has left
// it: the hide delay runs from the later of leaving and the last key press.
// So does someone holding a button pressed in the panel, until its release.
// Closing gives the keyboard back to the window that had it.
//
// States: Hidden (not open, window hidden), Open (open, window shown with
// the keyboard, press monitors installed) and Closing (not open, window
// still up for the spring's response, no monitors). Its delays are in
// PanelMetrics.
class DropdownPanelController : public QObject
{
    Q_OBJECT

public:
    // What the controller needs of the window system; all must outlive it.
    struct Services {
        Scheduler *scheduler = nullptr;
        PressMonitors *pressMonitors = nullptr;
        PointerLocator *pointer = nullptr;
    };

    // Takes the panel window; builds its root view with rootViewFactory
    // (none: the stand-in body).
    DropdownPanelController(const NotchGeometry &geometry, std::unique_ptr<PanelWindow> panel, const Services &services,
                            const PanelRootViewFactory &rootViewFactory = {}, QObject *parent = nullptr);
    ~DropdownPanelController() override;

    void showPanel();
    void hidePanel();
    void togglePanel();

    // Opens, closes and toggles the panel as the pointer enters, leaves and
    // presses the sensor.
    void connectSensor(const NotchSensor *sensor);

    // False as soon as closing starts, while the window is still up.
    bool isOpen() const { return m_isOpen; }
    PanelWindow *panel() const { return m_panel.get(); }
    NotchAnimationState *animationState() const { return m_animationState; }

    const NotchGeometry &geometry() const { return m_geometry; }
    // A new geometry after a screen change. It does not move an open panel
    // (the caller does, with panelFrame()); the root view keeps the notch
    // width it was built with.
    void setGeometry(const NotchGeometry &geometry) { m_geometry = geometry; }

private:
    void sensorEntered();
    void sensorExited();
    void sensorMoved();
    void sensorPressed();
    void scheduleHide();
    void panelKeyPressed();
    void panelButtonReleased();
    void cancelHideTimer();
    void cancelCloseJob();
    void cancelEdgeDwell();
    void observePanelHover();
    void installEventMonitors();
    void removeEventMonitors();

    std::unique_ptr<PanelWindow> m_panel;
    NotchAnimationState *m_animationState;
    NotchGeometry m_geometry;
    Services m_services;
    PressMonitor m_globalMonitor;
    PressMonitor m_localMonitor;
    ScheduledJob m_hideTimer;
    ScheduledJob m_closeJob;
    ScheduledJob m_edgeDwell;
    bool m_isOpen = false;
};
