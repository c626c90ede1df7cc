// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Marlowick developers

#pragma once

#include <QLoggingCategory>
#include <QSize>
#include <QtGlobal>

// What the layer surfaces go through ("marlowick.wayland").
Q_DECLARE_LOGGING_CATEGORY(lcLayer)

class QScreen;
class QWindow;
struct zwlr_layer_surface_v1;

// Gives a Qt window's surface the layer-shell role. Qt's wayland platform
// gives a window with Qt::BypassWindowManagerHint no role of its own (with
// QT_WAYLAND_USE_BYPASSWINDOWMANAGERHINT set) and makes it a new surface at
// every show: assign() after each show(), before Qt's first frame, and
// release() before each hide().
class LayerSurfaceRole
{
public:
    // The zwlr_layer_surface_v1 enums' values, so that users need not
    // include the generated header.
    enum Anchor : quint32 { Top = 1, Bottom = 2, Left = 4, Right = 8 };
    enum class Keyboard : quint32 { None = 0, Exclusive = 1, OnDemand = 2 };

    enum class Layer : quint32 { Top = 2, Overlay = 3 };

    struct Settings {
        // Top: above windows, below fullscreen ones; overlay: above all.
        Layer layer = Layer::Top;
        quint32 anchor = Top;
        // In logical pixels (the surface's own coordinates).
        QSize size;
        // -1: lies over bars and takes no room from windows.
        int exclusiveZone = -1;
        Keyboard keyboard = Keyboard::None;
    };

    explicit LayerSurfaceRole(QWindow *window);
    ~LayerSurfaceRole();
    LayerSurfaceRole(const LayerSurfaceRole &) = delete;
    LayerSurfaceRole &operator=(const LayerSurfaceRole &) = delete;

    // Gives the window's current surface the role on screen's output (the
    // compositor's choice without one), commits it and waits for the
    // compositor's configure. False without a layer shell or a surface, or
    // when the compositor sends none.
    bool assign(const Settings &settings, QScreen *screen);
    // Unmaps the surface and drops the role; nothing when it has none.
    void release();
    bool isAssigned() const { return m_layerSurface != nullptr; }

    // Changes how the surface takes the keyboard, at once. On demand falls
    // back to exclusive where the compositor's layer shell predates it.
    void setKeyboard(Keyboard keyboard);

private:
    static void configure(void *data, zwlr_layer_surface_v1 *surface, uint32_t serial, uint32_t width, uint32_t height);
    static void closed(void *data, zwlr_layer_surface_v1 *surface);

    QWindow *m_window;
    zwlr_layer_surface_v1 *m_layerSurface = nullptr;
    bool m_configured = false;
};
