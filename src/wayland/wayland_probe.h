// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Marlowick developers

#pragma once

#include <QtGlobal>

#include <optional>

// What a Wayland compositor offers, asked before Qt starts: Qt's platform
// is chosen from it.
namespace WaylandProbe {

// Whether the session is a Wayland one (WAYLAND_DISPLAY is set, or
// XDG_SESSION_TYPE says so).
bool isWaylandSession();

struct Compositor {
    // The version of zwlr_layer_shell_v1 it offers, 0 for none.
    quint32 layerShellVersion = 0;
};

// Connects to the compositor WAYLAND_DISPLAY names (wayland-0 without it)
// and reads its globals; none when there is no compositor to connect to.
std::optional<Compositor> probe();

} // namespace WaylandProbe
