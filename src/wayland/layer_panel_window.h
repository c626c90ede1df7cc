// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Marlowick developers

#pragma once

#include "layer_surface_role.h"
#include "notch/dropdown_panel.h"
#include "outside_press_catcher.h"

// The dropdown panel as a Wayland layer surface on the overlay layer (above
// the strip and the press catcher on the top layer), anchored to the top
// centre of the screen its frame lies on, lying over bars. Its input region
// is the body's outline (the window's mask).
//
// It takes the keyboard while open: on demand where the layer shell offers
// that (a press elsewhere takes it away, which closes the panel), else
// exclusively. Asked for the keyboard (requestActivate) it takes it
// exclusively until it has it, then goes back to on demand; and since the
// pointer is then somewhere else, an OutsidePressCatcher takes the next
// press outside the panel until the pointer comes into it.
class LayerPanelWindow : public DropdownPanel
{
    Q_OBJECT

public:
    explicit LayerPanelWindow(QWindow *parent = nullptr);

    void show() override;
    void hide() override;
    void requestActivate() override;
    // Also follows the opening and closing: a closing panel gives the
    // keyboard back at once, not when its window goes.
    void hostRootView(const PanelRootViewFactory &factory, const PanelRootViewSetup &setup) override;

protected:
    bool event(QEvent *event) override;

private:
    LayerSurfaceRole m_role;
    OutsidePressCatcher m_outside;
    bool m_pointerInside = false;
};
