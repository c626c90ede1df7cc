// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Marlowick developers

#pragma once

#include <QtGlobal>

class QScreen;
class QWindow;
struct wl_display;
struct wl_output;
struct wl_surface;
struct zwlr_layer_shell_v1;

// The compositor's layer shell, bound on the Wayland connection Qt's
// wayland platform opened, and the Wayland objects behind Qt's windows and
// screens (through the platform's native interface: Qt 6.4 has no public
// API for them).
class LayerShell
{
public:
    // Bound at the first call; null on any other platform, or when the
    // compositor offers no layer shell.
    static LayerShell *instance();

    wl_display *display() const { return m_display; }
    zwlr_layer_shell_v1 *shell() const { return m_shell; }
    // The version bound: at most the 4 this program knows.
    quint32 version() const { return m_version; }
    // Whether keyboard interactivity "on demand" (version 4) is there;
    // without it a surface that takes the keyboard takes it exclusively.
    bool hasKeyboardOnDemand() const { return m_version >= 4; }

    // The window's current wl_surface (Qt makes a new one at every show),
    // or null while it has none.
    static wl_surface *surface(QWindow *window);
    // The screen's wl_output, or null.
    static wl_output *output(QScreen *screen);

private:
    LayerShell() = default;
    static void global(void *data, struct wl_registry *registry, uint32_t name, const char *interface,
                       uint32_t version);
    static void globalRemoved(void *data, struct wl_registry *registry, uint32_t name);

    wl_display *m_display = nullptr;
    zwlr_layer_shell_v1 *m_shell = nullptr;
    quint32 m_version = 0;
};
