// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Marlowick developers

#include "layer_panel_window.h"

#include "notch/notch_animation_state.h"

#include <QGuiApplication>
#include <QScreen>

LayerPanelWindow::LayerPanelWindow(QWindow *parent)
    : DropdownPanel(parent)
    , m_role(this)
{
    setObjectName(QStringLiteral("Marlowick panel"));
    connect(this, &QWindow::activeChanged, this, [this] {
        // Held, it is given back as the compositor's windows are.
        if (isActive())
            m_role.setKeyboard(LayerSurfaceRole::Keyboard::OnDemand);
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
        m_outside.uncover();
        m_role.setKeyboard(LayerSurfaceRole::Keyboard::None);
    });
}

void LayerPanelWindow::hide()
{
    m_pointerInside = false;
    m_outside.uncover();
    m_role.release();
    DropdownPanel::hide();
}

void LayerPanelWindow::requestActivate()
{
    if (!isActive())
        m_role.setKeyboard(LayerSurfaceRole::Keyboard::Exclusive);
    if (!m_pointerInside)
        m_outside.cover(screen());
}

bool LayerPanelWindow::event(QEvent *event)
{
    if (event->type() == QEvent::Enter) {
        m_pointerInside = true;
        // From here leaving the panel closes it.
        m_outside.uncover();
    } else if (event->type() == QEvent::Leave) {
        m_pointerInside = false;
    }
    return DropdownPanel::event(event);
}
