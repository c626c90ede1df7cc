// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Marlowick developers

#pragma once

#include "notch/notch_sensor.h"
#include "wayland/layer_surface_role.h"

#include <QPointer>
#include <QRasterWindow>

#include <memory>

// The strip as a Wayland layer surface: a transparent window on the top
// layer, anchored to the top edge of the screen at its centre, the strip's
// width and one logical pixel high, lying over bars (exclusive zone -1). It
// takes no keyboard. Qt reports the pointer's crossings and presses on it
// as on any window of its own.
class LayerSensor : public NotchSensor
{
    Q_OBJECT

public:
    explicit LayerSensor(const NotchGeometry &geometry, QObject *parent = nullptr);
    ~LayerSensor() override;

    QRect rect() const override { return m_rect; }
    void place(const NotchGeometry &geometry) override;
    // The window that is the strip (presses on it are the strip's).
    QWindow *window() const;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    class Surface;

    std::unique_ptr<Surface> m_surface;
    LayerSurfaceRole m_role;
    QRect m_rect;
    QPointer<QScreen> m_screen;
    bool m_pointerInside = false;
};
