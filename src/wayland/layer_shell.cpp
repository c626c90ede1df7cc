// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Marlowick developers

#include "wayland/layer_shell.h"

#include <QGuiApplication>
#include <QWindow>
#include <qpa/qplatformnativeinterface.h>

#include <cstring>
#include <wayland-client.h>
#include <wlr-layer-shell-unstable-v1-client.h>

namespace {

constexpr uint32_t knownVersion = 4;

QPlatformNativeInterface *nativeInterface()
{
    return QGuiApplication::platformName() == QLatin1String("wayland") ? QGuiApplication::platformNativeInterface()
                                                                       : nullptr;
}

} // namespace

void LayerShell::global(void *data, wl_registry *registry, uint32_t name, const char *interface, uint32_t version)
{
    auto *self = static_cast<LayerShell *>(data);
    if (self->m_shell || std::strcmp(interface, zwlr_layer_shell_v1_interface.name) != 0)
        return;
    self->m_version = qMin(version, knownVersion);
    self->m_shell = static_cast<zwlr_layer_shell_v1 *>(
        wl_registry_bind(registry, name, &zwlr_layer_shell_v1_interface, self->m_version));
}

void LayerShell::globalRemoved(void *, wl_registry *, uint32_t)
{
}

LayerShell *LayerShell::instance()
{
    static LayerShell *const shell = []() -> LayerShell * {
        QPlatformNativeInterface *native = nativeInterface();
        auto *display = native
            ? static_cast<wl_display *>(native->nativeResourceForIntegration(QByteArrayLiteral("wl_display")))
            : nullptr;
        if (!display)
            return nullptr;
        static const wl_registry_listener listener = {&LayerShell::global, &LayerShell::globalRemoved};
        auto *candidate = new LayerShell;
        candidate->m_display = display;
        // Kept for the program's life: the layer shell is bound once.
        wl_registry *registry = wl_display_get_registry(display);
        wl_registry_add_listener(registry, &listener, candidate);
        wl_display_roundtrip(display);
        if (!candidate->m_shell) {
            wl_registry_destroy(registry);
            delete candidate;
            return nullptr;
        }
        return candidate;
    }();
    return shell;
}

wl_surface *LayerShell::surface(QWindow *window)
{
    QPlatformNativeInterface *native = nativeInterface();
    if (!native || !window->handle())
        return nullptr;
    return static_cast<wl_surface *>(native->nativeResourceForWindow(QByteArrayLiteral("surface"), window));
}

wl_output *LayerShell::output(QScreen *screen)
{
    QPlatformNativeInterface *native = nativeInterface();
    if (!native || !screen)
        return nullptr;
    return static_cast<wl_output *>(native->nativeResourceForScreen(QByteArrayLiteral("output"), screen));
}
