// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Marlowick developers

#include "wayland/wayland_probe.h"

#include <QByteArray>

#include <cstring>
#include <wayland-client.h>

namespace WaylandProbe {

bool isWaylandSession()
{
    return qEnvironmentVariableIsSet("WAYLAND_DISPLAY") || qgetenv("XDG_SESSION_TYPE") == "wayland";
}

namespace {

void global(void *data, wl_registry *, uint32_t, const char *interface, uint32_t version)
{
    if (std::strcmp(interface, "zwlr_layer_shell_v1") == 0)
        static_cast<Compositor *>(data)->layerShellVersion = version;
}

void globalRemoved(void *, wl_registry *, uint32_t)
{
}

const wl_registry_listener registryListener = {global, globalRemoved};

} // namespace

std::optional<Compositor> probe()
{
    wl_display *display = wl_display_connect(nullptr);
    if (!display)
        return std::nullopt;
    Compositor compositor;
    wl_registry *registry = wl_display_get_registry(display);
    wl_registry_add_listener(registry, &registryListener, &compositor);
    const bool answered = wl_display_roundtrip(display) >= 0;
    wl_registry_destroy(registry);
    wl_display_disconnect(display);
    if (!answered)
        return std::nullopt;
    return compositor;
}

} // namespace WaylandProbe
