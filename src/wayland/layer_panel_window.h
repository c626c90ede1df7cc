// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Marlowick developers

#pragma once

#include "notch/dropdown_panel.h"
#include "wayland/layer_surface_role.h"
#include "wayland/outside_press_catcher.h"

#include <QPointer>

#include <functional>

// The dropdown panel as a Wayland layer surface on the overlay layer (above
// the strip and the press catcher on the top layer), anchored to the top
// centre of the screen its frame lies on, lying over bars. Its input region
// is the body's outline (the window's mask).
//
// It takes the keyboard while open: on demand where the layer shell offers
// that (a press elsewhere takes it away, which closes the panel), else
// exclusively. Asked for the keyboard (requestActivate) it takes it
// exclusively until it has it, then goes back to on demand. When it gets
// the keyboard while the pointer is over none of this program's windows
// (opened from the command line or the tray), an OutsidePressCatcher takes
// the next press outside the panel until the pointer comes into it.
class LayerPanelWindow : public DropdownPanel
{
    Q_OBJECT

public:
    // pointerOverOwnWindow tells whether the pointer is over one of this
    // program's windows.
    explicit LayerPanelWindow(std::function<bool()> pointerOverOwnWindow, QWindow *parent = nullptr);

    void show() override;
    void hide() override;
    void requestActivate() override;
    // Also follows the opening and closing: a closing panel gives the
    // keyboard back at once, not when its window goes.
    void hostRootView(const PanelRootViewFactory &factory, const PanelRootViewSetup &setup) override;

protected:
    bool event(QEvent *event) override;

private:
    void coverOutside();
    void uncoverOutside();

    LayerSurfaceRole m_role;
    // Made for each use: its screen-sized buffers are not kept.
    QPointer<OutsidePressCatcher> m_outside;
    std::function<bool()> m_pointerOverOwnWindow;
};
