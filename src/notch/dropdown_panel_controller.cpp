// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Marlowick developers

#include "notch/dropdown_panel_controller.h"

#include "notch/notch_animation_state.h"
#include "notch/notch_sensor.h"
#include "notch/panel_window.h"
#include "platform/pointer_locator.h"
#include "views/panel_metrics.h"

#include <QLoggingCategory>
#include <QPointer>

// What opened or closed the panel from the top edge, for those who wonder on
// their desktop (QT_LOGGING_RULES=marlowick.notch.info=true).
Q_LOGGING_CATEGORY(lcNotch, "marlowick.notch", QtWarningMsg)

namespace {

// From the start of closing until the window goes: the time the root view's
// spring takes to close the body.
constexpr auto closeDelay =
    std::chrono::round<std::chrono::milliseconds>(std::chrono::duration<qreal>(PanelMetrics::springResponse()));

// Pixel semantics: the first column right of the frame and the first row
// below it are outside; its left column and top row are inside.
bool frameContains(const QRectF &frame, const QPointF &point)
{
    return point.x() >= frame.left() && point.x() < frame.right() && point.y() >= frame.top()
        && point.y() < frame.bottom();
}

} // namespace

DropdownPanelController::DropdownPanelController(const NotchGeometry &geometry, std::unique_ptr<PanelWindow> panel,
                                                 const Services &services, const PanelRootViewFactory &rootViewFactory,
                                                 QObject *parent)
    : QObject(parent)
    , m_panel(std::move(panel))
    , m_animationState(new NotchAnimationState(this))
    , m_geometry(geometry)
    , m_services(services)
{
    PanelRootViewSetup setup;
    setup.animationState = m_animationState;
    setup.notchWidth = geometry.notchWidth;
    m_panel->hostRootView(rootViewFactory, setup);
    m_panel->setKeyPressHandler([self = QPointer(this)] {
        if (self)
            self->panelKeyPressed();
    });
    m_panel->setButtonReleaseHandler([self = QPointer(this)] {
        if (self)
            self->panelButtonReleased();
    });

    // Queued, so that the reaction runs after the writer has finished and
    // reads the value current by then; two quick changes both see the last.
    connect(m_animationState, &NotchAnimationState::mouseInPanelChanged, this,
            &DropdownPanelController::observePanelHover, Qt::QueuedConnection);
    // Escape in the panel.
    connect(m_animationState, &NotchAnimationState::closeRequested, this, &DropdownPanelController::hidePanel);
}

DropdownPanelController::~DropdownPanelController()
{
    // The monitors' handlers would find the controller gone and do nothing,
    // but there is no reason to keep hearing every press on the display.
    removeEventMonitors();
    cancelHideTimer();
    cancelCloseJob();
    cancelEdgeDwell();
    // Quitting with the panel open (Ctrl+Q) closes it too.
    if (m_isOpen)
        m_panel->releaseKeyboard();
}

void DropdownPanelController::showPanel()
{
    cancelHideTimer();
    // From Closing: the window never leaves the screen, the view animates
    // straight back open.
    cancelCloseJob();
    if (m_isOpen)
        return;
    m_isOpen = true;
    m_animationState->setOpen(true);
    m_panel->setFrame(m_geometry.panelFrame());
    m_panel->show();
    m_panel->raise();
    m_panel->requestActivate();
    // Not kept and not cancelled: it also runs if the panel closed meanwhile.
    m_services.scheduler->runAfter(PanelMetrics::reframeDelay(), this,
                                   [this] { m_panel->setFrame(m_geometry.panelFrame()); });
    installEventMonitors();
}

void DropdownPanelController::hidePanel()
{
    cancelHideTimer();
    // While closing, the pending removal of the window stays: cancelling it
    // would leave an invisible window up that swallows presses. (While open
    // there is none; showing cancelled it.)
    if (!m_isOpen)
        return;
    m_isOpen = false;
    removeEventMonitors();
    m_panel->releaseKeyboard();
    m_animationState->setOpen(false);
    // A window that goes from under the pointer hears of no leaving: its
    // view would still say the pointer is over it when it opens again.
    m_animationState->setMouseInPanel(false);
    // No fade: closing is the root view's animation; the window goes when it
    // has run.
    m_closeJob = m_services.scheduler->runAfter(closeDelay, this, [this] {
        m_closeJob = {};
        m_panel->hide();
        // Only now does the strip below take presses again.
        qCInfo(lcNotch, "closed: the panel's window is gone");
    });
}

void DropdownPanelController::togglePanel()
{
    if (m_isOpen)
        hidePanel();
    else
        showPanel();
}

void DropdownPanelController::connectSensor(const NotchSensor *sensor)
{
    connect(sensor, &NotchSensor::entered, this, &DropdownPanelController::sensorEntered);
    connect(sensor, &NotchSensor::exited, this, &DropdownPanelController::sensorExited);
    connect(sensor, &NotchSensor::pressed, this, &DropdownPanelController::sensorPressed);
    connect(sensor, &NotchSensor::moved, this, &DropdownPanelController::sensorMoved);
    connect(sensor, &NotchSensor::pushed, this, [this] {
        // A push wants the panel, wherever the pointer goes next.
        cancelEdgeDwell();
        qCInfo(lcNotch, "open: a push against the top edge");
        showPanel();
    });
}

void DropdownPanelController::scheduleHide()
{
    cancelHideTimer();
    m_hideTimer = m_services.scheduler->runAfter(PanelMetrics::hideDelay(), this, [this] {
        m_hideTimer = {};
        // The pointer may have reached the panel without the hover change
        // having been handled yet. A button held since a press in the panel
        // (a selection dragged out of it) keeps it; its release decides.
        if (!m_animationState->mouseInPanel() && !m_panel->isButtonHeld())
            hidePanel();
    });
}

void DropdownPanelController::panelKeyPressed()
{
    // Keys go where the keyboard is: closing under the hands of someone
    // typing would send the rest of the line to another window.
    if (m_hideTimer.isValid())
        scheduleHide();
}

void DropdownPanelController::panelButtonReleased()
{
    // Released outside, after the hide delay ran out: from now on as if the
    // pointer had just left.
    if (m_isOpen && !m_hideTimer.isValid() && !m_animationState->mouseInPanel())
        scheduleHide();
}

void DropdownPanelController::cancelHideTimer()
{
    m_services.scheduler->cancel(m_hideTimer);
    m_hideTimer = {};
}

void DropdownPanelController::cancelCloseJob()
{
    m_services.scheduler->cancel(m_closeJob);
    m_closeJob = {};
}

void DropdownPanelController::cancelEdgeDwell()
{
    m_services.scheduler->cancel(m_edgeDwell);
    m_edgeDwell = {};
}

void DropdownPanelController::sensorEntered()
{
    cancelEdgeDwell();
    if (m_geometry.sensorIsScreenEdge) {
        m_edgeDwell = m_services.scheduler->runAfter(PanelMetrics::edgeDwell(), this, [this] {
            m_edgeDwell = {};
            cancelHideTimer();
            qCInfo(lcNotch, "open: the pointer rested on the strip");
            showPanel();
        });
        return;
    }
    cancelHideTimer();
    showPanel();
}

void DropdownPanelController::sensorMoved()
{
    // Sliding along the bare edge is on the way somewhere: the rest starts
    // again when the pointer stops.
    if (m_edgeDwell.isValid())
        sensorEntered();
}

void DropdownPanelController::sensorExited()
{
    // Only passed over the screen edge: as if it had never been there.
    if (m_edgeDwell.isValid()) {
        cancelEdgeDwell();
        return;
    }
    // On the way into the panel the panel's hover keeps it open instead.
    if (!m_animationState->mouseInPanel())
        scheduleHide();
}

void DropdownPanelController::sensorPressed()
{
    // A press does not wait for the pointer to rest; its leaving then counts.
    cancelEdgeDwell();
    qCInfo(lcNotch, "%s: a press on the strip", m_isOpen ? "close" : "open");
    togglePanel();
}

void DropdownPanelController::observePanelHover()
{
    if (m_animationState->mouseInPanel())
        cancelHideTimer(); // the pointer reached the panel in time
    else if (m_isOpen)
        scheduleHide();
}

void DropdownPanelController::installEventMonitors()
{
    const QPointer<DropdownPanelController> self(this);
    // Presses anywhere: close unless the press lies in the panel's frame,
    // its transparent part included.
    m_globalMonitor = m_services.pressMonitors->addGlobalPressMonitor([self] {
        if (!self || !self->m_isOpen)
            return;
        if (!frameContains(self->m_panel->frame(), self->m_services.pointer->position()))
            self->hidePanel();
    });
    // Presses in this program's other windows close it before they are
    // delivered; they are delivered all the same. A press in the panel gives
    // it the keyboard again, should another window have taken it.
    m_localMonitor = m_services.pressMonitors->addLocalPressMonitor([self](QWindow *target) {
        if (!self || !self->m_isOpen)
            return;
        if (target && self->m_panel->isPanelWindow(target))
            self->m_panel->requestActivate();
        else
            self->hidePanel();
    });
}

void DropdownPanelController::removeEventMonitors()
{
    m_services.pressMonitors->removeMonitor(m_globalMonitor);
    m_globalMonitor = {};
    m_services.pressMonitors->removeMonitor(m_localMonitor);
    m_localMonitor = {};
}
