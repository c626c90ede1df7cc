// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Marlowick developers

#include "wayland/layer_panel_window.h"

#include "notch/notch_animation_state.h"

#include <QGuiApplication>
#include <QScreen>

LayerPanelWindow::LayerPanelWindow(std::function<bool()> pointerOverOwnWindow, QWindow *parent)
    : DropdownPanel(parent)
    , m_role(this)
    , m_pointerOverOwnWindow(std::move(pointerOverOwnWindow))
{
    setObjectName(QStringLiteral("Marlowick panel"));
    connect(this, &QWindow::activeChanged, this, [this] {
        if (!isActive())
            return;
        // Held, it is given back as the compositor's windows are.
        m_role.setKeyboard(LayerSurfaceRole::Keyboard::OnDemand);
        if (!m_pointerOverOwnWindow())
            coverOutside();
    });
}

void LayerPanelWindow::show()
{
    // Opened again while closing: the window never went.
    if (isVisible() && m_role.isAssigned()) {
        m_role.setKeyboard(LayerSurfaceRole::Keyboard::OnDemand);
        return;
    }
    QScreen *target = QGuiApplication::screenAt(frame().center().toPoint());
    if (target)
        setScreen(target);
    DropdownPanel::show();
    LayerSurfaceRole::Settings settings;
    settings.layer = LayerSurfaceRole::Layer::Overlay;
    settings.anchor = LayerSurfaceRole::Top;
    settings.size = size();
    settings.exclusiveZone = -1;
    settings.keyboard = LayerSurfaceRole::Keyboard::OnDemand;
    m_role.assign(settings, screen());
}

void LayerPanelWindow::hostRootView(const PanelRootViewFactory &factory, const PanelRootViewSetup &setup)
{
    DropdownPanel::hostRootView(factory, setup);
    if (!setup.animationState)
        return;
    connect(setup.animationState, &NotchAnimationState::isOpenChanged, this, [this, state = setup.animationState] {
        if (state->isOpen())
            return;
        uncoverOutside();
        m_role.setKeyboard(LayerSurfaceRole::Keyboard::None);
    });
}

void LayerPanelWindow::hide()
{
    uncoverOutside();
    m_role.release();
    DropdownPanel::hide();
}

void LayerPanelWindow::requestActivate()
{
    if (!isActive())
        m_role.setKeyboard(LayerSurfaceRole::Keyboard::Exclusive);
}

bool LayerPanelWindow::event(QEvent *event)
{
    // From here leaving the panel closes it.
    if (event->type() == QEvent::Enter)
        uncoverOutside();
    return DropdownPanel::event(event);
}

void LayerPanelWindow::coverOutside()
{
    if (!m_outside)
        m_outside = new OutsidePressCatcher;
    m_outside->cover(screen());
}

void LayerPanelWindow::uncoverOutside()
{
    if (!m_outside)
        return;
    m_outside->uncover();
    // Later: the press it took may still be on its way to it.
    m_outside->deleteLater();
    m_outside = nullptr;
}
