// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Marlowick developers

#pragma once

#include "wayland/layer_surface_role.h"

#include <QRasterWindow>

// A transparent layer surface over a whole screen, on the top layer below
// the panel, that takes the next press anywhere outside the panel. Qt reports
// the press as one in a window of this program, which closes the panel.
//
// A Wayland client hears of no press on another client's surface; it hears
// of losing the keyboard, but not every compositor takes the keyboard from a
// layer surface that holds it (sway 1.7 gives "on demand" the meaning of
// "exclusive"). While the panel holds the keyboard and the pointer is
// outside it, this stands in for "a press elsewhere": that press closes the
// panel and goes no further.
class OutsidePressCatcher : public QRasterWindow
{
    Q_OBJECT

public:
    OutsidePressCatcher();

    // Covers screen (its whole logical area), or does nothing if it does.
    void cover(QScreen *screen);
    void uncover();

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    LayerSurfaceRole m_role;
};
