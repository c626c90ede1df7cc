// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Marlowick developers

#include "wayland/layer_surface_role.h"

#include "wayland/layer_shell.h"

#include <QLoggingCategory>
#include <QWindow>

#include <wayland-client.h>
#include <wlr-layer-shell-unstable-v1-client.h>

Q_LOGGING_CATEGORY(lcLayer, "marlowick.wayland", QtWarningMsg)

namespace {

// A compositor answers the first commit at once; a few round trips allow
// for one that sends other events first.
constexpr int configureRoundTrips = 3;

uint32_t supportedKeyboard(LayerSurfaceRole::Keyboard keyboard, const LayerShell &shell)
{
    if (keyboard == LayerSurfaceRole::Keyboard::OnDemand && !shell.hasKeyboardOnDemand())
        return ZWLR_LAYER_SURFACE_V1_KEYBOARD_INTERACTIVITY_EXCLUSIVE;
    return static_cast<uint32_t>(keyboard);
}

} // namespace

LayerSurfaceRole::LayerSurfaceRole(QWindow *window)
    : m_window(window)
{
}

LayerSurfaceRole::~LayerSurfaceRole()
{
    release();
}

void LayerSurfaceRole::configure(void *data, zwlr_layer_surface_v1 *surface, uint32_t serial, uint32_t, uint32_t)
{
    // The size is the one asked for: the surfaces are anchored to one edge.
    zwlr_layer_surface_v1_ack_configure(surface, serial);
    static_cast<LayerSurfaceRole *>(data)->m_configured = true;
}

void LayerSurfaceRole::closed(void *data, zwlr_layer_surface_v1 *)
{
    // Its output went; the next show makes the surface anew.
    auto *self = static_cast<LayerSurfaceRole *>(data);
    qCInfo(lcLayer, "the compositor closed the layer surface of %s", qPrintable(self->m_window->objectName()));
    self->release();
}

bool LayerSurfaceRole::assign(const Settings &settings, QScreen *screen)
{
    release();
    LayerShell *shell = LayerShell::instance();
    wl_surface *surface = shell ? LayerShell::surface(m_window) : nullptr;
    if (!surface)
        return false;
    static const zwlr_layer_surface_v1_listener listener = {&LayerSurfaceRole::configure, &LayerSurfaceRole::closed};
    m_configured = false;
    m_layerSurface = zwlr_layer_shell_v1_get_layer_surface(shell->shell(), surface, LayerShell::output(screen),
                                                           static_cast<uint32_t>(settings.layer), "marlowick");
    zwlr_layer_surface_v1_add_listener(m_layerSurface, &listener, this);
    zwlr_layer_surface_v1_set_anchor(m_layerSurface, settings.anchor);
    zwlr_layer_surface_v1_set_size(m_layerSurface, uint32_t(settings.size.width()), uint32_t(settings.size.height()));
    zwlr_layer_surface_v1_set_exclusive_zone(m_layerSurface, settings.exclusiveZone);
    zwlr_layer_surface_v1_set_keyboard_interactivity(m_layerSurface, supportedKeyboard(settings.keyboard, *shell));
    wl_surface_commit(surface);
    for (int i = 0; i < configureRoundTrips && m_layerSurface && !m_configured; ++i)
        wl_display_roundtrip(shell->display());
    if (!m_configured) {
        qCWarning(lcLayer, "the compositor did not configure the layer surface of %s",
                  qPrintable(m_window->objectName()));
        release();
        return false;
    }
    return true;
}

void LayerSurfaceRole::release()
{
    if (!m_layerSurface)
        return;
    zwlr_layer_surface_v1_destroy(m_layerSurface);
    m_layerSurface = nullptr;
    m_configured = false;
}

void LayerSurfaceRole::setKeyboard(Keyboard keyboard)
{
    LayerShell *shell = LayerShell::instance();
    wl_surface *surface = shell ? LayerShell::surface(m_window) : nullptr;
    if (!m_layerSurface || !surface)
        return;
    zwlr_layer_surface_v1_set_keyboard_interactivity(m_layerSurface, supportedKeyboard(keyboard, *shell));
    wl_surface_commit(surface);
    wl_display_flush(shell->display());
}
